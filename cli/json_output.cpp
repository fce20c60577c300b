#include "cli/json_output.h"

#include <nlohmann/json.hpp>

#include "cli/problem_text.h"

namespace tallix::cli {
namespace {

using Json = nlohmann::ordered_json;

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

void WriteJson(const ProjectCount& count, std::ostream& out) {
    Json members = Json::array();
    for (const MemberCount& member : count.members) {
        members.push_back(MemberJson(member));
    }
    Json document{{"project", count.project},
                  {"kind", count.kind == SourceKind::VbNet ? "vbnet" : "vb6"},
                  {"skip_blank", count.counting.skipBlankLines},
                  {"skip_comments", count.counting.skipCommentLines},
                  {"members", members},
                  {"found_lines", count.texts.foundLines},
                  {"total", count.texts.total}};
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace tallix::cli
