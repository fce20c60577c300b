#include <array>
#include <set>
#include <string>

#include "cli/inventory_messages.h"
#include "cli/inventory_output.h"
#include "cli/messages.h"
#include "cli/terminal_text.h"
#include "engine/text/case_folding.h"

namespace tallix::cli {
namespace {

constexpr std::array<MemberKind, kMemberKinds> kKindOrder{
    MemberKind::Form,        MemberKind::Module,       MemberKind::Class,
    MemberKind::UserControl, MemberKind::PropertyPage, MemberKind::UserDocument,
    MemberKind::Designer,    MemberKind::Code};

constexpr std::array<ReferenceKind, 7> kReferenceOrder{
    ReferenceKind::TypeLibrary, ReferenceKind::Component, ReferenceKind::VbProject,
    ReferenceKind::Assembly,    ReferenceKind::Package,   ReferenceKind::Com,
    ReferenceKind::Project};

// "name 1，name 2" for a map of counts, names shown safely; "" for none.
std::string Counts(const std::map<std::string, std::int64_t>& counts) {
    std::string text;
    for (const auto& [name, count] : counts) {
        text += (text.empty() ? "" : "，") + ShowControls(name.empty() ? "（未写明）" : name) +
                " " + std::to_string(count);
    }
    return text;
}

std::string InBrackets(const std::string& text) {
    return text.empty() ? "" : "（" + text + "）";
}

void WriteTotals(std::ostream& out, const InventoryTotals& totals, const std::string& indent) {
    std::string kinds;
    for (const MemberKind kind : kKindOrder) {
        if (totals.ByKind(kind) > 0) {
            kinds += std::string(kinds.empty() ? "：" : "，") + std::string(MemberKindLabel(kind)) +
                     " " + std::to_string(totals.ByKind(kind));
        }
    }
    out << indent << "成员 " << totals.members << " 个" << kinds
        << (totals.listedOnly > 0 ? "（设计器只列出，不统计）" : "") << '\n';
    out << indent << "统计行数 " << totals.lines << "（代码行 " << totals.tally.code << "，注释行 "
        << totals.tally.comment << "，空白行 " << totals.tally.blank << "），设计器行 "
        << totals.designerLines << '\n';
    out << indent << "过程 " << totals.procedures << " 个，Declare 语句 " << totals.declares
        << " 个" << InBrackets(Counts(totals.declaresByLibrary)) << '\n';
    out << indent << "控件 " << totals.controls << " 个"
        << InBrackets(Counts(totals.controlsByType)) << '\n';
}

std::string ReferenceText(const Reference& reference) {
    std::string text = ShowControls(reference.name);
    if (!reference.version.empty()) {
        text += " " + ShowControls(reference.version);
    }
    std::string details;
    const auto add = [&](const std::string& part) {
        if (!part.empty()) {
            details += (details.empty() ? "" : "，") + ShowControls(part);
        }
    };
    add(reference.guid.empty() ? "" : "{" + reference.guid + "}");
    if (reference.location != reference.name) {
        add(reference.location);
    }
    if (reference.kind == ReferenceKind::Com) {
        add(reference.detail);
    }
    return text + InBrackets(details);
}

void WriteReferences(std::ostream& out, const std::vector<Reference>& references) {
    for (const ReferenceKind kind : kReferenceOrder) {
        std::vector<const Reference*> ofKind;
        for (const Reference& reference : references) {
            if (reference.kind == kind && !reference.malformed) {
                ofKind.push_back(&reference);
            }
        }
        if (ofKind.empty()) {
            continue;
        }
        out << "  " << ReferenceKindHeading(kind) << " " << ofKind.size() << " 个：\n";
        for (const Reference* reference : ofKind) {
            out << "    " << ReferenceText(*reference) << '\n';
        }
    }
}

// What could not be taken as it stands: unreadable members, their notes, malformed lines.
std::vector<std::string> Problems(const ProjectInventory& project) {
    std::vector<std::string> problems;
    for (const InventoryMember& member : project.members) {
        const std::string name = ShowControls(member.count.name);
        if (member.count.problem.error != FileError::None) {
            problems.push_back("成员" + name + "无法读取：" + ProblemReason(member.count.problem));
        }
        for (const MemberNote& note : member.inventory.notes) {
            problems.push_back("成员" + name + "：" + MemberNoteText(note));
        }
    }
    for (const Reference& reference : project.description.references) {
        if (reference.malformed) {
            problems.push_back(MalformedReferenceText(reference));
        }
    }
    return problems;
}

class TextWriter : public InventoryWriter {
public:
    TextWriter(std::ostream& out, bool summary) : out_(out), summary_(summary) {}

    void Project(const ProjectInventory& project) override {
        ++projects_;
        if (!out_) {
            return;
        }
        const ProjectDescription& description = project.description;
        std::string kind = project.project.kind == SourceKind::VbNet ? "VB.NET" : "VB6";
        if (!description.type.empty()) {
            kind += "，" + ShowControls(description.type);
        }
        out_ << "工程：" << ShowControls(project.project.path) << "（" << kind << "）\n";
        if (description.problem.error != FileError::None) {
            out_ << "  " << ProblemReason(description.problem) << "\n\n";
            return;
        }
        WriteTotals(out_, project.totals, "  ");
        WriteReferences(out_, description.references);
        const std::vector<std::string> problems = Problems(project);
        if (!problems.empty()) {
            out_ << "  问题：\n";
            for (const std::string& problem : problems) {
                out_ << "    " << problem << '\n';
            }
        }
        out_ << '\n';
    }

    void Finish(const SetInventory& set) override {
        if (!summary_ || !out_) {
            return;
        }
        out_ << "汇总：" << projects_ << " 个工程（多个工程共用的文件只计一次）\n";
        WriteTotals(out_, set.totals, "  ");
        if (!set.shared.empty()) {
            out_ << "  共用的文件 " << set.shared.size() << " 个：\n";
            for (const SharedFile& file : set.shared) {
                std::string projects;
                for (const std::string& project : file.projects) {
                    projects += (projects.empty() ? "" : "，") + ShowControls(project);
                }
                out_ << "    " << ShowControls(file.path) << "：" << projects << '\n';
            }
        }
        std::size_t conflicts = 0;
        for (const MergedReference& reference : set.references) {
            conflicts += reference.Conflict() ? 1 : 0;
        }
        out_ << "  引用合并为 " << set.references.size() << " 项，其中版本冲突 " << conflicts
             << " 项" << (set.references.empty() ? "" : "：") << '\n';
        for (const MergedReference& reference : set.references) {
            WriteMerged(reference);
        }
    }

private:
    // The projects that use a reference, by how many; those asking for each version by
    // name when they disagree.
    void WriteMerged(const MergedReference& reference) {
        std::set<std::string> projects;
        for (const ReferenceUse& use : reference.uses) {
            projects.insert(use.project);
        }
        out_ << "    " << (reference.Conflict() ? "版本冲突！" : "")
             << ReferenceKindHeading(reference.kind) << " " << ShowControls(reference.name)
             << InBrackets(reference.guid.empty() ? "" : "{" + ShowControls(reference.guid) + "}")
             << "：" << projects.size() << " 个工程";
        if (!reference.Conflict()) {
            out_ << (reference.versions.empty() ? ""
                                                : "，版本 " + ShowControls(reference.versions[0]))
                 << '\n';
            return;
        }
        out_ << '\n';
        for (const std::string& version : reference.versions) {
            std::string users;
            for (const ReferenceUse& use : reference.uses) {
                if (EqualIgnoringCase(use.version, version)) {
                    users += (users.empty() ? "" : "，") + ShowControls(use.project);
                }
            }
            out_ << "      " << ShowControls(version) << "：" << users << '\n';
        }
    }

    std::ostream& out_;
    bool summary_;
    std::size_t projects_ = 0;
};

}  // namespace

std::unique_ptr<InventoryWriter> MakeTextWriter(std::ostream& out, bool summary) {
    return std::make_unique<TextWriter>(out, summary);
}

}  // namespace tallix::cli
