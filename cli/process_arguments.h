#pragma once

#include <string>
#include <vector>

namespace tallix::cli {

// The program's arguments (without its name) as UTF-8, and a process ready for the run: a
// console that shows UTF-8, and on POSIX writes to a closed pipe that fail rather than
// kill. On Windows argv is in the ANSI code page, so the wide command line is used instead.
std::vector<std::string> ProcessArguments(int argc, char** argv);

}  // namespace tallix::cli
