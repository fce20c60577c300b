#include "cli/messages.h"

#include "cli/terminal_text.h"

namespace tallix::cli {
namespace {

// What is wrong with a file, to follow its name: "文件" + path + this.
std::string Predicate(const FileProblem& problem) {
    switch (problem.error) {
        case FileError::None:
            return "";
        case FileError::Missing:
            return "不存在";
        case FileError::NotAFile:
            return "不是普通文件";
        case FileError::Unreadable:
            break;
    }
    return problem.detail.empty() ? "无法读取" : "无法读取（" + problem.detail + "）";
}

}  // namespace

std::string ProblemReason(const FileProblem& problem) {
    return problem.error == FileError::Missing ? "文件不存在" : Predicate(problem);
}

std::string ProjectMissingMessage(const std::string& project) {
    return "文件" + ShowControls(project) + "不存在！";
}

std::string ProjectUnreadableMessage(const std::string& project, const FileProblem& problem) {
    return "文件" + ShowControls(project) + Predicate(problem) + "！";
}

std::string MemberUnreadableMessage(const MemberCount& member) {
    return MemberUnreadableMessage(member.name, member.path, member.problem);
}

std::string MemberUnreadableMessage(const std::string& name, const std::string& path,
                                    const FileProblem& problem) {
    return "成员" + ShowControls(name) + "无法读取：" + ProblemReason(problem) + "，按0行计算（" +
           ShowControls(path) + "）";
}

std::string NothingToDepositMessage(const std::string& project, const std::string& deposit) {
    return ShowControls(project) + "没有可导出的源程序行（按当前选项统计为0行），未写入" +
           ShowControls(deposit) + "！";
}

std::string ReportUnwritableMessage(const std::string& report, const std::string& detail) {
    return "文件" + ShowControls(report) + "无法写入：" + detail;
}

std::string SkippedProjectMessage(const SkippedProject& skipped) {
    const std::string path = ShowControls(skipped.path);
    const std::string named =
        skipped.name.empty() ? path : ShowControls(skipped.name) + "（" + path + "）";
    switch (skipped.reason) {
        case SkipReason::Missing:
            return "工程" + named + "不存在，已跳过";
        case SkipReason::Unusable:
            return "工程" + named + Predicate(skipped.problem) + "，已跳过";
        case SkipReason::NotVisualBasic:
            return "工程" + named + "不是 Visual Basic 工程，已跳过";
        case SkipReason::Repeated:
            return "工程组或解决方案" + named + "已经读过，已跳过";
        case SkipReason::SolutionFolder:
            break;
    }
    return "解决方案文件夹" + ShowControls(skipped.name) + "不是工程，已跳过";
}

std::string FolderUnreadableMessage(const std::string& folder, const FileProblem& problem) {
    return "文件夹" + ShowControls(folder) + Predicate(problem) + "！";
}

std::string FolderUnlistedMessage(const std::string& folder, const FileProblem& problem) {
    return "文件夹" + ShowControls(folder) + Predicate(problem) + "，其中的工程未统计";
}

std::string MembersUnlistedMessage(const std::string& project, const std::string& folder,
                                   const FileProblem& problem) {
    return "工程" + ShowControls(project) + "：文件夹" + ShowControls(folder) + Predicate(problem) +
           "，其中的成员未统计";
}

std::string ProjectNoteMessage(const std::string& project, const ProjectNote& note) {
    const std::string text = ShowControls(note.text);
    if (note.kind == ProjectNote::Kind::ConditionNotEvaluated) {
        return "工程" + ShowControls(project) + "：条件 " + text + " 未求值，按成立处理";
    }
    return "工程" + ShowControls(project) + "：" + text + " 中的属性未求值，按原文处理";
}

std::string OutOfMemoryMessage() {
    return "内存不足，统计未完成！";
}

std::string NoProjectsMessage(const std::string& set, SetKind kind) {
    switch (kind) {
        case SetKind::Group:
            return "工程组" + ShowControls(set) + "中没有可统计的工程！";
        case SetKind::Solution:
            return "解决方案" + ShowControls(set) + "中没有可统计的 Visual Basic 工程！";
        case SetKind::Folder:
        case SetKind::Project:
            break;
    }
    return "文件夹" + ShowControls(set) + "中没有工程文件（.vbp 或 .vbproj）！";
}

std::string OutputUnwritableMessage() {
    return "结果无法写入标准输出！";
}

std::string RowsLostMessage() {
    return "临时文件无法读回，结果不全，没有合计！";
}

}  // namespace tallix::cli
