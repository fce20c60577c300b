#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace tallix::cli {

// Counts the project and prints the results to out; problems go to err, one line each.
// Returns the exit status.
int Run(const CliOptions& options, std::ostream& out, std::ostream& err);

// The whole command line: the arguments without the program name in, the exit status out.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tallix::cli
