#include <map>
#include <string>
#include <vector>

#include "cli/csv_output.h"
#include "cli/inventory_messages.h"
#include "cli/inventory_output.h"
#include "cli/messages.h"

namespace tallix::cli {
namespace {

// Text fields are neutralised against formulas; numbers, never negative, need not be.
struct Field {
    std::string text;
    bool number = false;
};

void WriteRow(std::ostream& out, const std::vector<Field>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out << (i > 0 ? "," : "")
            << (fields[i].number ? CsvField(fields[i].text) : CsvTextField(fields[i].text));
    }
    out << "\r\n";
}

void WriteHeader(std::ostream& out, const std::vector<std::string>& names) {
    std::vector<Field> fields;
    for (const std::string& name : names) {
        fields.push_back({name});
    }
    WriteRow(out, fields);
}

Field Number(std::int64_t value) {
    return {std::to_string(value), true};
}

// A member's problem cell: why it could not be read, else its notes, "; " between them.
std::string MemberProblem(const InventoryMember& member) {
    if (member.count.problem.error != FileError::None) {
        return ProblemReason(member.count.problem);
    }
    if (!member.listed.counted) {
        return "设计器只列出，不统计";
    }
    std::string problem;
    for (const MemberNote& note : member.inventory.notes) {
        problem += (problem.empty() ? "" : "；") + MemberNoteText(note);
    }
    return problem;
}

class CsvMemberWriter : public InventoryWriter {
public:
    explicit CsvMemberWriter(std::ostream& out) : out_(out) {
        WriteHeader(out_, {"project", "member", "kind", "lines", "code", "comment", "blank",
                           "designer", "procedures", "declares", "controls", "problem"});
    }

    void Project(const ProjectInventory& project) override {
        const std::string& path = project.project.path;
        if (project.description.problem.error != FileError::None) {
            // A project that could not be read has a row of its own, with no member.
            WriteRow(out_, {{path},
                            {""},
                            {""},
                            {"", true},
                            {"", true},
                            {"", true},
                            {"", true},
                            {"", true},
                            {"", true},
                            {"", true},
                            {"", true},
                            {ProblemReason(project.description.problem)}});
            return;
        }
        for (const InventoryMember& member : project.members) {
            if (!out_) {
                return;
            }
            const MemberCount& count = member.count;
            WriteRow(out_, {{path},
                            {count.name},
                            {std::string(MemberKindName(member.listed.kind))},
                            Number(count.lines),
                            Number(count.tally.code),
                            Number(count.tally.comment),
                            Number(count.tally.blank),
                            Number(member.inventory.designerLines),
                            Number(member.inventory.procedures),
                            Number(static_cast<std::int64_t>(member.inventory.declares.size())),
                            Number(member.inventory.ControlCount()),
                            {MemberProblem(member)}});
        }
    }

    void Finish(const SetInventory&) override {}

private:
    std::ostream& out_;
};

// The rows wait for the set's end, which tells which references are in conflict.
class CsvReferenceWriter : public InventoryWriter {
public:
    explicit CsvReferenceWriter(std::ostream& out) : out_(out) {
        WriteHeader(out_, {"project", "kind", "name", "guid", "version", "location", "detail",
                           "conflict", "problem"});
    }

    void Project(const ProjectInventory& project) override {
        projects_.push_back({project.project.path, project.description.references});
    }

    void Finish(const SetInventory& set) override {
        std::map<std::string, bool> conflicts;
        for (const MergedReference& reference : set.references) {
            conflicts[reference.key] = reference.Conflict();
        }
        for (const auto& [project, references] : projects_) {
            const std::string folder = ProjectFolder(project);
            for (const Reference& reference : references) {
                if (!out_) {
                    return;
                }
                const auto key = ReferenceKey(reference, folder);
                const bool conflict = key && conflicts[*key];
                WriteRow(out_, {{project},
                                {std::string(ReferenceKindName(reference.kind))},
                                {reference.name},
                                {reference.guid},
                                {reference.version},
                                {reference.location},
                                {reference.detail},
                                {conflict ? "yes" : ""},
                                {reference.malformed ? MalformedReferenceText(reference) : ""}});
            }
        }
    }

private:
    std::ostream& out_;
    std::vector<std::pair<std::string, std::vector<Reference>>> projects_;
};

}  // namespace

std::unique_ptr<InventoryWriter> MakeCsvMemberWriter(std::ostream& out) {
    return std::make_unique<CsvMemberWriter>(out);
}

std::unique_ptr<InventoryWriter> MakeCsvReferenceWriter(std::ostream& out) {
    return std::make_unique<CsvReferenceWriter>(out);
}

}  // namespace tallix::cli
