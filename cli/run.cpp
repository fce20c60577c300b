#include "cli/run.h"

#include <new>

#include "cli/csv_output.h"
#include "cli/deposit_run.h"
#include "cli/inventory_run.h"
#include "cli/json_output.h"
#include "cli/member_spool.h"
#include "cli/messages.h"
#include "cli/project_count.h"
#include "cli/set_run.h"
#include "cli/table_output.h"
#include "engine/projects/project_readers.h"
#include "engine/projects/project_set.h"
#include "persistence/report_writer.h"

namespace tallix::cli {
namespace {

bool WriteCsv(const CliOptions& options, MemberSpool& spool, std::ostream& out) {
    WriteCsvHeader(out);
    return spool.ForEach([&](const MemberCount& member) {
        WriteCsvRow(out, options.project, member);
        return out.good();
    });
}

// Prints the results; false when they did not all reach out.
bool WriteResults(const CliOptions& options, const CountSummary& summary, MemberSpool& spool,
                  std::ostream& out, std::ostream& err) {
    const bool whole = options.csv    ? WriteCsv(options, spool, out)
                       : options.json ? WriteJson(options, summary, spool, out)
                                      : WriteTable(summary, spool, out);
    out.flush();
    if (!whole) {
        err << RowsLostMessage() << '\n';
    }
    if (!out) {
        err << OutputUnwritableMessage() << '\n';
    }
    return whole && out;
}

// The per-file list, as the window and the report give it.
std::string FoundLines(MemberSpool& spool) {
    std::string found;
    spool.ForEach([&](const MemberCount& member) {
        if (member.lines > 0) {
            found += (found.empty() ? "" : ",") + member.name + ':' + std::to_string(member.lines);
        }
        return true;
    });
    return found;
}

void ReportUnreadableMembers(MemberSpool& spool, std::ostream& err) {
    spool.ForEach([&](const MemberCount& member) {
        if (member.problem.error != FileError::None) {
            err << MemberUnreadableMessage(member) << '\n';
        }
        return true;
    });
}

}  // namespace

int Run(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.inventory) {
        return RunInventory(options, out, err);
    }
    if (KindOfSetPath(options.project) != SetKind::Project) {
        // Each project of a set takes its kind from its own extension, and the report has
        // room for one project only.
        if (options.kindGiven || !options.report.empty()) {
            err << BadUsage("工程组、解决方案和文件夹不能与 --vb6、--vbnet、--report 同用").err;
            return kExitBadUsage;
        }
        return options.deposit.empty() ? RunSet(options, out, err) : RunDeposit(options, out, err);
    }
    if (!options.deposit.empty()) {
        return RunDeposit(options, out, err);
    }
    const auto readProject = [](const std::string& path, SourceKind kind,
                                const MemberVisitor& onMember) {
        return VisitProjectMembers(path, kind, onMember);
    };
    return RunProject(options, readProject, out, err);
}

int RunProject(const CliOptions& options, const ProjectReader& readProject, std::ostream& out,
               std::ostream& err) {
    MemberSpool spool;
    const CountSummary summary =
        CountProject(options, readProject, [&](const MemberCount& member) { spool.Add(member); });
    if (summary.end == CountEnd::ProjectMissing) {
        err << ProjectMissingMessage(options.project) << '\n';
        return kExitProjectUnusable;
    }
    if (summary.end == CountEnd::ProjectUnreadable) {
        err << ProjectUnreadableMessage(options.project, summary.problem) << '\n';
        return kExitProjectUnusable;
    }
    // When several things went wrong, the status is the largest that applies.
    int status = kExitSuccess;
    const bool printed = WriteResults(options, summary, spool, out, err);
    for (const ProjectNote& note : summary.notes) {
        err << ProjectNoteMessage(options.project, note) << '\n';
    }
    if (summary.unreadable > 0) {
        ReportUnreadableMembers(spool, err);
        status = kExitMembersUnreadable;
    }
    const std::string folder = ProjectFolder(options.project);
    for (const FolderProblem& unlisted : summary.unlisted) {
        err << MembersUnlistedMessage(options.project, MemberPath(folder, unlisted.path),
                                      unlisted.problem)
            << '\n';
        status = kExitMembersUnreadable;
    }
    if (!options.report.empty()) {
        const auto problem = WriteReport(options.report, {options.project, FoundLines(spool),
                                                          std::to_string(summary.sums.lines)});
        if (problem) {
            err << ReportUnwritableMessage(options.report, *problem) << '\n';
            status = kExitReportUnwritable;
        }
    }
    return printed ? status : kExitOutputUnwritable;
}

int GuardingMemory(std::ostream& err, const std::function<int()>& run) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        // What was written stays written; the run ends here.
        err << OutOfMemoryMessage() << '\n';
        return kExitOutOfMemory;
    }
}

namespace {

int ParsedMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome parsed = ParseArguments(args);
    err << parsed.err;
    if (!parsed.out.empty()) {
        out << parsed.out;
        out.flush();
        if (!out) {
            err << OutputUnwritableMessage() << '\n';
            return kExitOutputUnwritable;
        }
    }
    if (!parsed.options) {
        return parsed.exitCode;
    }
    return Run(*parsed.options, out, err);
}

}  // namespace

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return GuardingMemory(err, [&] { return ParsedMain(args, out, err); });
}

}  // namespace tallix::cli
