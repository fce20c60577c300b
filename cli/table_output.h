#pragma once

#include <ostream>

#include "cli/member_spool.h"
#include "cli/project_count.h"

namespace tallix::cli {

// One row per member in project order (lines counted, code, comment and blank lines, name)
// and a total row, with the numbers right-aligned for a terminal and control characters in
// names shown escaped. Stops early when out fails. Returns false, without the total, when the
// spooled rows could not all be read back.
bool WriteTable(const CountSummary& summary, MemberSpool& rows, std::ostream& out);

}  // namespace tallix::cli
