#include "ui/messages.h"

#include <algorithm>

namespace tallix {

namespace {

// A box taller than the screen would hide its OK button; the rest of a long list is cut.
constexpr std::size_t kMaxListedUnreadable = 20;

std::string PathOf(const AnalysisReason& reason) {
    return reason.paths.empty() ? std::string() : reason.paths.front();
}

std::string ListedText(std::string text, const std::vector<std::string>& paths) {
    const auto listed = std::min(paths.size(), kMaxListedUnreadable);
    for (std::size_t i = 0; i < listed; ++i) {
        text += "\n" + paths[i];
    }
    if (paths.size() > listed) {
        text += "\n……";
    }
    return text;
}

}  // namespace

std::string DepositMessage(const DepositResult& result, const std::string& path) {
    switch (result.end) {
        case DepositEnd::NothingToDeposit:
            return "没有可导出的源程序行（按当前选项统计为0行），未写入文件！";
        case DepositEnd::NotWritten:
            return "文件" + path + "无法写入：" + result.reason;
        case DepositEnd::Written:
            break;
    }
    std::string text;
    for (const std::string& line : DepositSummary(result.plan)) {
        text += line + "\n";
    }
    text += "已保存到：" + path;
    std::vector<std::string> unreadable;
    for (const ListingMember& member : result.plan.members) {
        if (member.problem.error != FileError::None) {
            unreadable.push_back(member.path);
        }
    }
    if (!unreadable.empty()) {
        text += "\n\n" + ListedText("以下文件无法读取，按0行计算：", unreadable);
    }
    return text;
}

std::string MessageText(const AnalysisReason& reason) {
    using Kind = AnalysisReason::Kind;
    switch (reason.kind) {
        case Kind::NoKindChosen:
            return "请选择分析来源的类型！";
        case Kind::NoProjectPath:
            return "请先打开文件!";
        case Kind::ProjectMissing:
            return "文件" + PathOf(reason) + "不存在！";
        case Kind::ProjectUnreadable:
            return "文件" + PathOf(reason) + "无法读取！";
        case Kind::TooManyMembers: {
            const std::string limit = std::to_string(ProjectAnalysis::kMaxMembers);
            return "工程文件的成员超过" + limit + "个，只统计前" + limit + "个！";
        }
        case Kind::MembersUnreadable:
            return ListedText("以下文件无法读取，按0行计算：", reason.paths);
        case Kind::FoldersUnlisted:
            return ListedText("以下文件夹无法读取，其中的成员未统计：", reason.paths);
    }
    return {};
}

}  // namespace tallix
