#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "engine/set_count.h"

namespace tallix::cli {

// One field as RFC 4180 writes it: quoted, with quotes doubled, when it holds a comma, a
// quote, a CR or an LF; as it is otherwise.
std::string CsvField(std::string_view text);

// A header row, then one row per member of every project: project, member, path, lines,
// code, comment, blank, error. A project that could not be read has one row with an empty
// member and its error. Rows end in CR LF, as RFC 4180 has them.
void WriteCsv(const SetCount& count, std::ostream& out);

}  // namespace tallix::cli
