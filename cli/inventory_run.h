#pragma once

#include <ostream>

#include "cli/arguments.h"

namespace tallix::cli {

// Takes the inventory of a project, group, solution or folder and prints it in the form the
// options ask for; skipped projects and every problem go to err, one line each, as when
// counting. Returns the exit status, the largest that applies: 1 a project missing or
// unreadable, 3 members unreadable, 5 the output could not all be written.
int RunInventory(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tallix::cli
