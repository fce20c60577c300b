#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>

#include "cli/project_count.h"

namespace tallix::cli {

// One row per member in project order (lines counted, code, comment and blank lines, name)
// and a total row, with the numbers right-aligned for a terminal.
void WriteTable(const ProjectCount& count, std::ostream& out);

// Terminal columns a UTF-8 text takes: East Asian wide characters take two.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace tallix::cli
