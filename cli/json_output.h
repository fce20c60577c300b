#pragma once

#include <ostream>

#include "cli/arguments.h"
#include "cli/member_spool.h"
#include "cli/project_count.h"

namespace tallix::cli {

// The results as one UTF-8 JSON document, written member by member. Bytes that are not UTF-8
// (a project path given in another encoding) are replaced rather than breaking the document.
// Stops early when out fails. Returns false when the spooled members could not all be read
// back; the document then ends without its totals.
bool WriteJson(const CliOptions& options, const CountSummary& summary, MemberSpool& members,
               std::ostream& out);

}  // namespace tallix::cli
