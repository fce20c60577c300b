#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "engine/counting/member_count.h"
#include "engine/projects/project_readers.h"

namespace tallix::cli {

// Reads a project file and hands on its member names: VisitProjectMembers, or a stand-in.
using ProjectReader = std::function<ProjectRead(const std::string& path, SourceKind kind,
                                                const MemberVisitor& onMember)>;

// The column sums over the members counted so far. Counts are never negative, so no
// member's number is wider than its column's sum.
struct ColumnSums {
    std::int64_t lines = 0;
    LineTally tally;

    void Add(const MemberCount& member);
};

enum class CountEnd {
    Counted,            // every member the project names was counted
    ProjectMissing,     // no project file: nothing was counted
    ProjectUnreadable,  // the project file could not be read to its end
};

struct CountSummary {
    CountEnd end = CountEnd::Counted;
    FileProblem problem;  // why the project file failed
    // An SDK-style project's folders that could not be listed, and what was not evaluated.
    std::vector<FolderProblem> unlisted;
    std::vector<ProjectNote> notes;
    std::size_t members = 0;
    std::size_t unreadable = 0;  // members whose file could not be read
    ColumnSums sums;
};

// Adds a counted member to the sums and the numbers of members.
void AddMember(CountSummary& summary, const MemberCount& member);

// Takes each member as it is counted.
using MemberSink = std::function<void(const MemberCount& member)>;

// Counts each member the project names as soon as it is named, through the same engine calls
// the window makes but without the window's limit on the number of members. Keeps no member.
CountSummary CountProject(const CliOptions& options, const ProjectReader& readProject,
                          const MemberSink& onMember);

}  // namespace tallix::cli
