#pragma once

#include <string>

#include "engine/file_system.h"

namespace tallix::cli {

// A short Chinese reason for a file that could not be read, with the system's own detail
// when it gave one; "" when there was no problem.
std::string ProblemReason(const FileProblem& problem);

}  // namespace tallix::cli
