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

// The per-file list as a JSON string, written piece by piece from the spooled members, so
// that it never has to be held whole. Each piece is escaped on its own: they meet at ASCII
// "," and ":", so no character spans two.
bool WriteFoundLines(MemberSpool& members, std::ostream& out) {
    out << '"';
    bool first = true;
    const bool whole = members.ForEach([&](const MemberCount& member) {
        if (member.lines > 0) {
            const std::string piece = Dump(member.name + ':' + std::to_string(member.lines));
            out << (first ? "" : ",") << std::string_view(piece).substr(1, piece.size() - 2);
            first = false;
        }
        return out.good();
    });
    out << '"';
    return whole;
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
               std::ostream& out, std::string_view indent) {
    const std::string field = "\n" + std::string(indent) + "  ";
    out << indent << "{" << field << "\"project\": " << Dump(options.project) << "," << field
        << "\"kind\": " << (options.kind == SourceKind::VbNet ? "\"vbnet\"" : "\"vb6\"") << ","
        << field << "\"skip_blank\": " << Dump(options.counting.skipBlankLines) << "," << field
        << "\"skip_comments\": " << Dump(options.counting.skipCommentLines) << "," << field
        << "\"members\": [";
    const std::string memberIndent = std::string(indent) + "    ";
    bool first = true;
    const bool whole = members.ForEach([&](const MemberCount& member) {
        out << (first ? "\n" : ",\n");
        first = false;
        WriteNested(out, Dump(MemberJson(member), 2), memberIndent);
        return out.good();
    });
    out << (first ? "]" : field + "]");
    bool listed = whole;
    if (listed) {
        out << "," << field << "\"found_lines\": ";
        listed = WriteFoundLines(members, out);
    }
    if (listed) {
        out << "," << field << "\"total\": " << summary.sums.lines;
    }
    out << "\n" << indent << "}";
    if (indent.empty()) {
        out << "\n";
    }
    return listed;
}

}  // namespace tallix::cli
