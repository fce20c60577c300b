#include "cli/project_count.h"

#include "engine/counting/set_count.h"
#include "engine/files/file_system.h"

namespace tallix::cli {
namespace {

void AddToFoundLines(std::string& found, const MemberCount& member) {
    if (member.lines <= 0) {
        return;
    }
    if (!found.empty()) {
        found += ',';
    }
    found += member.name + ':' + std::to_string(member.lines);
}

}  // namespace

void ColumnSums::Add(const MemberCount& member) {
    lines += member.lines;
    tally.code += member.tally.code;
    tally.comment += member.tally.comment;
    tally.blank += member.tally.blank;
}

void AddMember(CountSummary& summary, const MemberCount& member) {
    summary.sums.Add(member);
    AddToFoundLines(summary.foundLines, member);
    ++summary.members;
    if (member.problem.error != FileError::None) {
        ++summary.unreadable;
    }
}

CountSummary CountProject(const CliOptions& options, const ProjectReader& readProject,
                          const MemberSink& onMember) {
    CountSummary summary;
    if (!FileExists(options.project)) {
        summary.end = CountEnd::ProjectMissing;
        return summary;
    }
    // Members are counted a batch at a time on every processor and come out in project
    // order, so memory stays at one batch.
    MemberBatchCounter counter(ProjectFolder(options.project), options.kind, options.counting,
                               [&](const MemberCount& member) {
                                   AddMember(summary, member);
                                   onMember(member);
                               });
    summary.problem = readProject(options.project, options.kind, [&](std::string name) {
        counter.Add(std::move(name));
        return true;
    });
    counter.Finish();
    if (summary.problem.error != FileError::None) {
        summary.end = CountEnd::ProjectUnreadable;
    }
    return summary;
}

}  // namespace tallix::cli
