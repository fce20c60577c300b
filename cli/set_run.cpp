#include "cli/set_run.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/csv_output.h"
#include "cli/json_output.h"
#include "cli/member_spool.h"
#include "cli/messages.h"
#include "cli/project_count.h"
#include "cli/table_output.h"
#include "cli/terminal_text.h"
#include "engine/counting/set_count.h"
#include "engine/projects/project_set.h"

namespace tallix::cli {
namespace {

using Json = nlohmann::ordered_json;

// The options a single project given on its own would have had.
CliOptions OptionsFor(const CliOptions& options, const CountedProject& counted) {
    CliOptions single = options;
    single.project = counted.project.path;
    single.kind = counted.project.kind;
    return single;
}

CountSummary SummaryOf(const CountedProject& counted, MemberSpool& spool) {
    CountSummary summary;
    for (const MemberCount& member : counted.members) {
        AddMember(summary, member);
        spool.Add(member);
    }
    return summary;
}

bool Failed(const CountedProject& counted) {
    return counted.problem.error != FileError::None;
}

bool WriteSetTable(const SetCount& count, std::ostream& out) {
    for (const CountedProject& counted : count.projects) {
        if (Failed(counted)) {
            continue;
        }
        out << "工程：" << ShowControls(counted.project.path) << '\n';
        MemberSpool spool;
        const CountSummary summary = SummaryOf(counted, spool);
        if (!WriteTable(summary, spool, out)) {
            return false;
        }
        out << '\n';
    }
    out << "总计（多个工程共用的文件只计一次）：统计行数 " << count.total << "，代码行 "
        << count.tally.code << "，注释行 " << count.tally.comment << "，空白行 "
        << count.tally.blank << '\n';
    return true;
}

bool WriteSetJson(const CliOptions& options, const SetCount& count, std::ostream& out) {
    out << "{\n  \"projects\": [";
    bool first = true;
    for (const CountedProject& counted : count.projects) {
        const CliOptions single = OptionsFor(options, counted);
        std::ostringstream text;
        if (Failed(counted)) {
            text << DumpNested(Json{{"project", single.project},
                                    {"kind", single.kind == SourceKind::VbNet ? "vbnet" : "vb6"},
                                    {"error", ProblemReason(counted.problem)}});
        } else {
            // The very object the project would print on its own, so the two cannot drift
            // apart.
            MemberSpool spool;
            const CountSummary summary = SummaryOf(counted, spool);
            if (!WriteJson(single, summary, spool, text)) {
                return false;
            }
        }
        out << (first ? "\n" : ",\n");
        first = false;
        WriteNested(out, text.view(), "    ");
    }
    out << (first ? "]" : "\n  ]") << ",\n  \"total\": " << count.total << "\n}\n";
    return true;
}

void WriteSetCsv(const SetCount& count, std::ostream& out) {
    WriteCsvHeader(out);
    for (const CountedProject& counted : count.projects) {
        if (Failed(counted)) {
            // A project that could not be read has a row of its own, with no member.
            MemberCount none;
            none.problem = counted.problem;
            WriteCsvRow(out, counted.project.path, none);
            continue;
        }
        for (const MemberCount& member : counted.members) {
            WriteCsvRow(out, counted.project.path, member);
        }
    }
}

bool WriteSet(const CliOptions& options, const SetCount& count, std::ostream& out) {
    if (options.csv) {
        WriteSetCsv(count, out);
        return true;
    }
    return options.json ? WriteSetJson(options, count, out) : WriteSetTable(count, out);
}

// Names what went wrong in each project; the largest status that applies.
int ReportProblems(const SetCount& count, std::ostream& err) {
    int status = kExitSuccess;
    for (const CountedProject& counted : count.projects) {
        if (counted.problem.error == FileError::Missing) {
            err << ProjectMissingMessage(counted.project.path) << '\n';
        } else if (Failed(counted)) {
            err << ProjectUnreadableMessage(counted.project.path, counted.problem) << '\n';
        }
        if (Failed(counted)) {
            status = std::max<int>(status, kExitProjectUnusable);
        }
        for (const MemberCount& member : counted.members) {
            if (member.problem.error == FileError::None) {
                continue;
            }
            err << MemberUnreadableMessage(member) << '\n';
            status = std::max<int>(status, kExitMembersUnreadable);
        }
    }
    return status;
}

// Writes the counted set and names what went wrong; `status` is the worst so far.
int Finish(const CliOptions& options, const SetCount& count, int status, std::ostream& out,
           std::ostream& err) {
    const bool whole = WriteSet(options, count, out);
    out.flush();
    if (!whole) {
        err << RowsLostMessage() << '\n';
    }
    if (!out) {
        err << OutputUnwritableMessage() << '\n';
    }
    status = std::max(status, ReportProblems(count, err));
    return whole && out ? status : kExitOutputUnwritable;
}

}  // namespace

int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (KindOfSetPath(options.project) == SetKind::Folder) {
        const SetCount count = CountFolder(options.project, options.counting);
        if (count.projects.empty()) {
            err << NoProjectsMessage(options.project) << '\n';
            return kExitProjectUnusable;
        }
        return Finish(options, count, kExitSuccess, out, err);
    }
    const ProjectSet set = ReadProjectSet(options.project);
    if (set.problem.error == FileError::Missing) {
        err << ProjectMissingMessage(options.project) << '\n';
        return kExitProjectUnusable;
    }
    if (set.problem.error != FileError::None) {
        err << ProjectUnreadableMessage(options.project, set.problem) << '\n';
        return kExitProjectUnusable;
    }
    int status = kExitSuccess;
    for (const SkippedProject& skipped : set.skipped) {
        err << SkippedProjectMessage(skipped) << '\n';
        if (skipped.reason == SkipReason::Missing) {
            status = kExitProjectUnusable;
        }
    }
    return Finish(options, CountProjects(set.projects, options.counting), status, out, err);
}

}  // namespace tallix::cli
