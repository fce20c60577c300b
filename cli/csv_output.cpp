#include "cli/csv_output.h"

#include <initializer_list>

#include "cli/messages.h"

namespace tallix::cli {
namespace {

void WriteRow(std::ostream& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            out << ',';
        }
        out << CsvField(field);
        first = false;
    }
    out << "\r\n";
}

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

void WriteCsvHeader(std::ostream& out) {
    WriteRow(out, {"project", "member", "path", "lines", "code", "comment", "blank", "error"});
}

void WriteCsvRow(std::ostream& out, std::string_view project, const MemberCount& member) {
    WriteRow(out, {project, member.name, member.path, std::to_string(member.lines),
                   std::to_string(member.tally.code), std::to_string(member.tally.comment),
                   std::to_string(member.tally.blank), ProblemReason(member.problem)});
}

}  // namespace tallix::cli
