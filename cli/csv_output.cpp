#include "cli/csv_output.h"

#include <initializer_list>

#include "cli/messages.h"

namespace tallix::cli {
namespace {

// Text fields are neutralised; numbers, never negative, need not be.
struct Field {
    std::string_view text;
    bool number = false;
};

void WriteRow(std::ostream& out, std::initializer_list<Field> fields) {
    bool first = true;
    for (const Field& field : fields) {
        if (!first) {
            out << ',';
        }
        out << (field.number ? CsvField(field.text) : CsvTextField(field.text));
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

std::string CsvTextField(std::string_view text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    return CsvField(formula ? "'" + std::string(text) : std::string(text));
}

void WriteCsvHeader(std::ostream& out) {
    WriteRow(out, {{"project"},
                   {"member"},
                   {"path"},
                   {"lines"},
                   {"code"},
                   {"comment"},
                   {"blank"},
                   {"error"}});
}

void WriteCsvRow(std::ostream& out, std::string_view project, const MemberCount& member) {
    const std::string lines = std::to_string(member.lines);
    const std::string code = std::to_string(member.tally.code);
    const std::string comment = std::to_string(member.tally.comment);
    const std::string blank = std::to_string(member.tally.blank);
    WriteRow(out, {{project},
                   {member.name},
                   {member.path},
                   {lines, true},
                   {code, true},
                   {comment, true},
                   {blank, true},
                   {ProblemReason(member.problem)}});
}

}  // namespace tallix::cli
