#pragma once

#include <ostream>

#include "cli/arguments.h"
#include "engine/projects/project_set.h"

namespace tallix::cli {

// Counts a group, a solution or a folder and prints it as the options ask: one section per
// project, then a grand total in which a member file several projects share counts once.
// Skipped projects and every problem go to err, one line each. Returns the exit status,
// the largest that applies over all projects.
int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err);

// A set read for a run, with what keeps any of its projects from being counted named on err:
// the status so far and whether there is anything to count.
struct SetStart {
    ProjectSet set;
    int status = kExitSuccess;
    bool usable = true;
};
SetStart StartSet(const CliOptions& options, std::ostream& err);

}  // namespace tallix::cli
