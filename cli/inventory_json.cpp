#include <array>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/inventory_messages.h"
#include "cli/inventory_output.h"
#include "cli/json_output.h"
#include "cli/messages.h"

namespace tallix::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<MemberKind, kMemberKinds> kKinds{
    MemberKind::Form,        MemberKind::Module,       MemberKind::Class,
    MemberKind::UserControl, MemberKind::PropertyPage, MemberKind::UserDocument,
    MemberKind::Designer,    MemberKind::Code};

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json CountsJson(const std::map<std::string, std::int64_t>& counts) {
    Json json = Json::object();
    for (const auto& [name, count] : counts) {
        json[name] = count;
    }
    return json;
}

Json TotalsJson(const InventoryTotals& totals) {
    Json byKind = Json::object();
    for (const MemberKind kind : kKinds) {
        byKind[std::string(MemberKindName(kind))] = totals.ByKind(kind);
    }
    return Json{{"members", totals.members},
                {"by_kind", byKind},
                {"listed_only", totals.listedOnly},
                {"unreadable", totals.unreadable},
                {"binary", totals.binary},
                {"lines", totals.lines},
                {"code", totals.tally.code},
                {"comment", totals.tally.comment},
                {"blank", totals.tally.blank},
                {"designer", totals.designerLines},
                {"procedures", totals.procedures},
                {"declares", totals.declares},
                {"declares_by_library", CountsJson(totals.declaresByLibrary)},
                {"controls", totals.controls},
                {"controls_by_type", CountsJson(totals.controlsByType)}};
}

Json MemberJson(const InventoryMember& member) {
    Json declares = Json::array();
    for (const DeclareStatement& declare : member.inventory.declares) {
        declares.push_back(
            {{"name", declare.name}, {"library", declare.library}, {"line", declare.line}});
    }
    Json notes = Json::array();
    for (const MemberNote& note : member.inventory.notes) {
        notes.push_back({{"kind", MemberNoteName(note.kind)},
                         {"line", note.line},
                         {"count", note.count},
                         {"text", MemberNoteText(note)}});
    }
    const MemberCount& count = member.count;
    return Json{
        {"name", count.name},
        {"path", count.path},
        {"kind", MemberKindName(member.listed.kind)},
        {"counted", member.listed.counted},
        {"lines", count.lines},
        {"code", count.tally.code},
        {"comment", count.tally.comment},
        {"blank", count.tally.blank},
        {"designer", member.inventory.designerLines},
        {"procedures", member.inventory.procedures},
        {"declares", declares},
        {"controls", CountsJson(member.inventory.controls)},
        {"error", count.problem.error == FileError::None ? Json(nullptr)
                                                         : Json(ProblemReason(count.problem))},
        {"notes", notes}};
}

Json ReferenceJson(const Reference& reference) {
    return Json{{"kind", ReferenceKindName(reference.kind)},
                {"name", reference.name},
                {"guid", TextOrNull(reference.guid)},
                {"version", TextOrNull(reference.version)},
                {"location", TextOrNull(reference.location)},
                {"detail", TextOrNull(reference.detail)},
                {"line", reference.line > 0 ? Json(reference.line) : Json(nullptr)},
                {"malformed", reference.malformed},
                {"written", reference.malformed ? Json(reference.written) : Json(nullptr)}};
}

Json ProjectJson(const ProjectInventory& project) {
    const ProjectDescription& description = project.description;
    Json json{{"project", project.project.path},
              {"kind", project.project.kind == SourceKind::VbNet ? "vbnet" : "vb6"},
              {"type", TextOrNull(description.type)},
              {"error", description.problem.error == FileError::None
                            ? Json(nullptr)
                            : Json(ProblemReason(description.problem))}};
    Json members = Json::array();
    for (const InventoryMember& member : project.members) {
        members.push_back(MemberJson(member));
    }
    Json references = Json::array();
    for (const Reference& reference : description.references) {
        references.push_back(ReferenceJson(reference));
    }
    json["members"] = std::move(members);
    json["references"] = std::move(references);
    json["totals"] = TotalsJson(project.totals);
    return json;
}

Json SummaryJson(const SetInventory& set, std::size_t projects) {
    Json shared = Json::array();
    for (const SharedFile& file : set.shared) {
        shared.push_back({{"path", file.path}, {"projects", file.projects}, {"named", file.named}});
    }
    Json references = Json::array();
    for (const MergedReference& reference : set.references) {
        Json uses = Json::array();
        for (const ReferenceUse& use : reference.uses) {
            uses.push_back({{"project", use.project}, {"version", TextOrNull(use.version)}});
        }
        references.push_back({{"kind", ReferenceKindName(reference.kind)},
                              {"name", reference.name},
                              {"guid", TextOrNull(reference.guid)},
                              {"versions", reference.versions},
                              {"uses", uses},
                              {"conflict", reference.Conflict()}});
    }
    return Json{{"projects", projects},
                {"totals", TotalsJson(set.totals)},
                {"shared_files", shared},
                {"references", references}};
}

class JsonWriter : public InventoryWriter {
public:
    JsonWriter(std::ostream& out, CountOptions options) : out_(out) {
        out_ << "{\n  \"schema\": " << kInventorySchema
             << ",\n  \"skip_blank\": " << (options.skipBlankLines ? "true" : "false")
             << ",\n  \"skip_comments\": " << (options.skipCommentLines ? "true" : "false")
             << ",\n  \"projects\": [";
    }

    void Project(const ProjectInventory& project) override {
        ++projects_;
        if (!out_) {
            return;
        }
        out_ << (projects_ == 1 ? "\n" : ",\n");
        WriteNested(out_, DumpNested(ProjectJson(project)), "    ");
    }

    void Finish(const SetInventory& set) override {
        out_ << (projects_ == 0 ? "]" : "\n  ]") << ",\n  \"summary\": ";
        // The summary's first line follows its key; the rest are indented one level.
        const std::string summary = DumpNested(SummaryJson(set, projects_));
        for (const char c : summary) {
            out_ << c;
            if (c == '\n') {
                out_ << "  ";
            }
        }
        out_ << "\n}\n";
    }

private:
    std::ostream& out_;
    std::size_t projects_ = 0;
};

}  // namespace

std::unique_ptr<InventoryWriter> MakeJsonWriter(std::ostream& out, CountOptions options) {
    return std::make_unique<JsonWriter>(out, options);
}

}  // namespace tallix::cli
