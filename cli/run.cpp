#include "cli/run.h"

#include "cli/json_output.h"
#include "cli/problem_text.h"
#include "cli/project_count.h"
#include "cli/table_output.h"
#include "persistence/report_writer.h"

namespace tallix::cli {

int Run(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const CountOutcome outcome = CountProject(options);
    if (!outcome.failure.empty()) {
        err << outcome.failure << '\n';
        return kExitProjectUnusable;
    }
    const ProjectCount& count = outcome.count;
    if (options.json) {
        WriteJson(count, out);
    } else {
        WriteTable(count, out);
    }
    out.flush();

    int status = kExitSuccess;
    for (const MemberCount& member : count.members) {
        if (member.problem.error != FileError::None) {
            err << "成员" << member.name << "无法读取：" << ProblemReason(member.problem)
                << "，按0行计算（" << member.path << "）\n";
            status = kExitMembersUnreadable;
        }
    }
    if (!options.report.empty()) {
        const auto problem = WriteReport(
            options.report, {options.project, count.texts.foundLines, count.texts.totalLines});
        if (problem) {
            err << "文件" << options.report << "无法写入：" << *problem << '\n';
            status = kExitReportUnwritable;
        }
    }
    return status;
}

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome parsed = ParseArguments(args);
    out << parsed.out;
    err << parsed.err;
    if (!parsed.options) {
        return parsed.exitCode;
    }
    return Run(*parsed.options, out, err);
}

}  // namespace tallix::cli
