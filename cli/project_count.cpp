#include "cli/project_count.h"

#include "engine/file_system.h"

namespace tallix::cli {
namespace {

void AddToFoundLines(std::string& found, const MemberCount& member) {
    if (member.lines <= 0) return;
    if (!found.empty()) found += ',';
    found += member.name + ':' + std::to_string(member.lines);
}

}  // namespace

void ColumnSums::Add(const MemberCount& member) {
    lines += member.lines;
    tally.code += member.tally.code;
    tally.comment += member.tally.comment;
    tally.blank += member.tally.blank;
}

CountSummary CountProject(const CliOptions& options, const ProjectReader& readProject,
                          const MemberSink& onMember) {
    CountSummary summary;
    if (!FileExists(options.project)) {
        summary.end = CountEnd::ProjectMissing;
        return summary;
    }
    const std::string folder = ProjectFolder(options.project);
    FileLocator locator;
    summary.problem = readProject(options.project, options.kind, [&](std::string name) {
        const MemberCount member =
            CountMember(folder, name, options.kind, options.counting, locator);
        summary.sums.Add(member);
        AddToFoundLines(summary.foundLines, member);
        ++summary.members;
        if (member.problem.error != FileError::None) ++summary.unreadable;
        onMember(member);
        return true;
    });
    if (summary.problem.error != FileError::None) summary.end = CountEnd::ProjectUnreadable;
    return summary;
}

}  // namespace tallix::cli
