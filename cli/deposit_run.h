#pragma once

#include <ostream>

#include "cli/arguments.h"

namespace tallix::cli {

// Writes the software-copyright deposit of a project or a set (--deposit) and prints its
// summary: the size in lines, the listing's pages and those deposited; with --json the same
// as fields. Members that cannot be read are named on err and list nothing. Returns the exit
// status, the largest that applies.
int RunDeposit(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tallix::cli
