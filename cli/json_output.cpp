#include "cli/json_output.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "cli/messages.h"

namespace tallix::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& value, int indent = -1) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

Json MemberJson(const MemberCount& member) {
    Json error = nullptr;
    if (member.problem.error != FileError::None) {
        error = ProblemReason(member.problem);
    }
    return Json{{"name", member.name},
                {"path", member.path},
                {"lines", member.lines},
                {"code", member.tally.code},
                {"comment", member.tally.comment},
                {"blank", member.tally.blank},
                {"error", error}};
}

}  // namespace

void WriteNested(std::ostream& out, std::string_view json, std::string_view indent) {
    if (json.ends_with('\n')) {
        json.remove_suffix(1);
    }
    std::string nested(indent);
    nested.reserve(json.size() + json.size() / 8);
    for (const char c : json) {
        nested += c;
        if (c == '\n') {
            nested += indent;
        }
    }
    out << nested;
}

std::string DumpNested(const nlohmann::ordered_json& value) {
    return Dump(value, 2);
}

bool WriteJson(const CliOptions& options, const CountSummary& summary, MemberSpool& members,
               std::ostream& out) {
    out << "{\n  \"project\": " << Dump(options.project)
        << ",\n  \"kind\": " << (options.kind == SourceKind::VbNet ? "\"vbnet\"" : "\"vb6\"")
        << ",\n  \"skip_blank\": " << Dump(options.counting.skipBlankLines)
        << ",\n  \"skip_comments\": " << Dump(options.counting.skipCommentLines)
        << ",\n  \"members\": [";
    bool first = true;
    const bool whole = members.ForEach([&](const MemberCount& member) {
        out << (first ? "\n" : ",\n");
        first = false;
        WriteNested(out, Dump(MemberJson(member), 2), "    ");
        return out.good();
    });
    out << (first ? "]" : "\n  ]");
    if (whole) {
        out << ",\n  \"found_lines\": " << Dump(summary.foundLines)
            << ",\n  \"total\": " << summary.sums.lines;
    }
    out << "\n}\n";
    return whole;
}

}  // namespace tallix::cli
