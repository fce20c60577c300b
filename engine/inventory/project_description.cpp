#include "engine/inventory/project_description.h"

#include <algorithm>
#include <array>

#include "engine/files/text_source.h"
#include "engine/projects/project_readers.h"
#include "engine/text/text_lines.h"

namespace tallix {

namespace {

struct KeyKind {
    std::string_view key;
    MemberKind kind;
};

// The kind of a counted member by the key of the project line that lists it.
constexpr std::array<KeyKind, 6> kCountedKinds{{
    {"Form", MemberKind::Form},
    {"Module", MemberKind::Module},
    {"Class", MemberKind::Class},
    {"UserControl", MemberKind::UserControl},
    {"PropertyPage", MemberKind::PropertyPage},
    {"UserDocument", MemberKind::UserDocument},
}};
constexpr std::string_view kDesignerPrefix = "Designer=";
constexpr std::string_view kTypePrefix = "Type=";

// Takes one line of a VB6 project into the description.
void DescribeVb6Line(std::string_view line, std::int64_t number, ProjectDescription& description) {
    if (auto member = Vb6ListedMember(line)) {
        description.members.push_back(std::move(*member));
    } else if (auto reference = Vb6ReferenceOf(line)) {
        reference->line = number;
        description.references.push_back(std::move(*reference));
    } else if (line.starts_with(kTypePrefix) && description.type.empty()) {
        description.type = std::string(TrimSpaces(line.substr(kTypePrefix.size())));
    }
}

FileProblem ReadVb6Lines(ByteSource& source, ProjectDescription& description) {
    std::int64_t number = 0;
    return ReadSourceLines(source, ProjectEncodingRule(SourceKind::Vb6),
                           [&](std::string_view line) {
                               DescribeVb6Line(line, ++number, description);
                               return true;
                           });
}

// No member of a project that could not be read to its end, as when counting.
ProjectDescription Whole(ProjectDescription description) {
    if (description.problem.error != FileError::None) {
        description.members.clear();
    }
    return description;
}

ProjectDescription ReadVb6Description(const std::string& path) {
    InputFile file = InputFile::Open(LocateFile(path).value_or(path));
    if (!file.IsOpen()) {
        ProjectDescription description;
        description.problem = file.Problem();
        return description;
    }
    return DescribeVb6Project(file);
}

ProjectDescription ReadVbNetDescription(const std::string& path) {
    ProjectDescription description;
    ProjectRead read = VisitProjectMembers(path, SourceKind::VbNet, [&](std::string name) {
        description.members.push_back({std::move(name), MemberKind::Code, true});
        return true;
    });
    description.problem = std::move(read.problem);
    description.unlisted = std::move(read.unlisted);
    description.notes = std::move(read.notes);
    if (description.problem.error != FileError::None) {
        return description;
    }
    VbNetReferenceScanner references;
    description.problem = ReadFileText(path, EncodingRule::Xml, [&](std::string_view text) {
        references.Feed(text);
        return true;
    });
    description.references = references.References();
    for (ProjectNote& note : references.Notes()) {
        if (std::find(description.notes.begin(), description.notes.end(), note) ==
            description.notes.end()) {
            description.notes.push_back(std::move(note));
        }
    }
    return description;
}

}  // namespace

std::string_view MemberKindName(MemberKind kind) {
    switch (kind) {
        case MemberKind::Form:
            return "Form";
        case MemberKind::Module:
            return "Module";
        case MemberKind::Class:
            return "Class";
        case MemberKind::UserControl:
            return "UserControl";
        case MemberKind::PropertyPage:
            return "PropertyPage";
        case MemberKind::UserDocument:
            return "UserDocument";
        case MemberKind::Designer:
            return "Designer";
        case MemberKind::Code:
            break;
    }
    return "Code";
}

std::optional<ListedMember> Vb6ListedMember(std::string_view line) {
    if (auto entry = Vb6MemberEntry(line)) {
        const auto known =
            std::find_if(kCountedKinds.begin(), kCountedKinds.end(),
                         [&](const KeyKind& candidate) { return candidate.key == entry->key; });
        return ListedMember{std::move(entry->name),
                            known == kCountedKinds.end() ? MemberKind::Code : known->kind, true};
    }
    if (line.starts_with(kDesignerPrefix)) {
        return ListedMember{std::string(line.substr(kDesignerPrefix.size())), MemberKind::Designer,
                            false};
    }
    return std::nullopt;
}

ProjectDescription ReadProjectDescription(const std::string& path, SourceKind kind) {
    return kind == SourceKind::Vb6 ? ReadVb6Description(path) : Whole(ReadVbNetDescription(path));
}

ProjectDescription DescribeVb6Project(ByteSource& source) {
    ProjectDescription description;
    description.problem = ReadVb6Lines(source, description);
    return Whole(std::move(description));
}

ProjectDescription DescribeVb6Project(std::string_view bytes) {
    MemorySource source(bytes);
    return DescribeVb6Project(source);
}

}  // namespace tallix
