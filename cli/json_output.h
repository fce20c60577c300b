#pragma once

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/member_spool.h"
#include "cli/project_count.h"

namespace tallix::cli {

// The results as one UTF-8 JSON document, written member by member; with an indent, as
// a value nested at that depth inside another document (the set's), laid out as a
// two-space dump of the whole would lay it out. Bytes that are not UTF-8 (a project path
// given in another encoding) are replaced rather than breaking the document. Stops early
// when out fails. Returns false when the spooled members could not all be read back; the
// document then ends without its totals.
bool WriteJson(const CliOptions& options, const CountSummary& summary, MemberSpool& members,
               std::ostream& out, std::string_view indent = "");

// Writes one JSON text as a value inside another: `indent` before it and after each of its
// line ends but a last one, which is dropped, as an indented dump would lay it out.
void WriteNested(std::ostream& out, std::string_view json, std::string_view indent);

// A value as the documents lay it out: two spaces a level, bytes that are not UTF-8 replaced.
std::string DumpNested(const nlohmann::ordered_json& value);

}  // namespace tallix::cli
