#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "engine/counting/member_count.h"

namespace tallix::cli {

// One field as RFC 4180 writes it: quoted, with quotes doubled, when it holds a comma, a
// quote, a CR or an LF; as it is otherwise.
std::string CsvField(std::string_view text);

// A text field as a spreadsheet may safely open it: a text that a spreadsheet would take
// for a formula (its first character "=", "+", "-", "@", a tab or a CR) gets a leading
// "'", as OWASP advises against CSV injection; then CsvField.
std::string CsvTextField(std::string_view text);

// The header row: project, member, path, lines, code, comment, blank, error.
void WriteCsvHeader(std::ostream& out);

// One member's row. Rows end in CR LF, as RFC 4180 has them; names keep their bytes, since
// the quoting already keeps line breaks inside their field, but for the mark that keeps a
// spreadsheet from running them.
void WriteCsvRow(std::ostream& out, std::string_view project, const MemberCount& member);

}  // namespace tallix::cli
