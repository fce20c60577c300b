#pragma once

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "engine/member_count.h"

namespace tallix::cli {

// Everything a run found out about a project; what the table and the JSON are made from.
struct ProjectCount {
    std::string project;  // as given on the command line
    SourceKind kind = SourceKind::Vb6;
    CountOptions counting;
    std::vector<MemberCount> members;  // project order
    ResultTexts texts;                 // the window's texts for the same members
};

struct CountOutcome {
    std::string failure;  // why the project itself could not be used; "" when counted
    ProjectCount count;
};

// Reads the project and counts every member it names, through the same engine calls the
// window makes, but without the window's limit on the number of members.
CountOutcome CountProject(const CliOptions& options);

}  // namespace tallix::cli
