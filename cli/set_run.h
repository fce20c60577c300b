#pragma once

#include <ostream>

#include "cli/arguments.h"

namespace tallix::cli {

// Counts a group, a solution or a folder and prints it as the options ask: one section per
// project, then a grand total in which a member file several projects share counts once.
// Skipped projects and every problem go to err, one line each. Returns the exit status,
// the largest that applies over all projects.
int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tallix::cli
