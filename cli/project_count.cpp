#include "cli/project_count.h"

#include <memory>

#include "engine/counting/ordered_counter.h"
#include "engine/files/file_system.h"

namespace tallix::cli {
void ColumnSums::Add(const MemberCount& member) {
    lines += member.lines;
    tally.code += member.tally.code;
    tally.comment += member.tally.comment;
    tally.blank += member.tally.blank;
}

void AddMember(CountSummary& summary, const MemberCount& member) {
    summary.sums.Add(member);
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
    // Members are counted on every processor and come out in project order, so memory
    // stays at the counter's window.
    OrderedCounter counter(options.counting, [&](const MemberCount& member) {
        AddMember(summary, member);
        onMember(member);
    });
    const auto place = std::make_shared<const CountPlace>(
        CountPlace{ProjectFolder(options.project), options.kind});
    ProjectRead read = readProject(options.project, options.kind, [&](std::string name) {
        counter.Add(place, std::move(name));
        return true;
    });
    counter.Finish();
    summary.problem = std::move(read.problem);
    summary.unlisted = std::move(read.unlisted);
    summary.notes = std::move(read.notes);
    if (summary.problem.error != FileError::None) {
        summary.end = CountEnd::ProjectUnreadable;
    }
    return summary;
}

}  // namespace tallix::cli
