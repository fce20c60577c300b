#include "engine/projects/project_readers.h"

#include <array>

#include "engine/files/text_source.h"
#include "engine/text/text_lines.h"

namespace tallix {

namespace {

struct Vb6Prefix {
    std::string_view text;
    bool nameAfterSemicolon;  // module and class lines name the member first
};

// Tested in this order; the first that matches decides.
constexpr std::array<Vb6Prefix, 6> kVb6Prefixes{{
    {"Form=", false},
    {"Module=", true},
    {"Class=", true},
    {"UserControl=", false},
    {"PropertyPage=", false},
    {"UserDocument=", false},
}};

constexpr std::string_view kCompileInclude = "<Compile Include=";

std::vector<std::string> ReadMembers(std::string_view projectBytes, SourceKind kind) {
    std::vector<std::string> names;
    MemorySource source(projectBytes);
    VisitProjectMembers(source, kind, [&](std::string name) {
        names.push_back(std::move(name));
        return true;
    });
    return names;
}

}  // namespace

std::optional<Vb6MemberLine> Vb6MemberEntry(std::string_view line) {
    for (const auto& prefix : kVb6Prefixes) {
        if (!line.starts_with(prefix.text)) {
            continue;
        }
        const std::string_view key = prefix.text.substr(0, prefix.text.size() - 1);
        if (!prefix.nameAfterSemicolon) {
            return Vb6MemberLine{key, std::string(line.substr(prefix.text.size()))};
        }
        const auto semicolon = line.find(';');
        const auto name = semicolon == std::string_view::npos ? line : line.substr(semicolon + 1);
        return Vb6MemberLine{key, std::string(TrimSpaces(name))};
    }
    return std::nullopt;
}

std::optional<std::string> Vb6MemberName(std::string_view line) {
    auto entry = Vb6MemberEntry(line);
    return entry ? std::optional<std::string>(std::move(entry->name)) : std::nullopt;
}

std::optional<std::string> VbNetMemberName(std::string_view line) {
    const std::string_view trimmed = TrimSpaces(line);
    if (!trimmed.starts_with(kCompileInclude)) {
        return std::nullopt;
    }
    if (trimmed.find("AssemblyInfo.") != std::string_view::npos ||
        trimmed.find(".Designer.") != std::string_view::npos) {
        return std::nullopt;
    }
    const auto first = trimmed.find('"');
    const auto last = trimmed.rfind('"');
    // Fewer than two quotes name nothing.
    if (first == std::string_view::npos || first == last) {
        return std::nullopt;
    }
    return std::string(trimmed.substr(first + 1, last - first - 1));
}

EncodingRule ProjectEncodingRule(SourceKind kind) {
    return kind == SourceKind::Vb6 ? EncodingRule::AnsiUnlessMarked : EncodingRule::Xml;
}

std::vector<std::string> ReadVb6Project(std::string_view projectBytes) {
    return ReadMembers(projectBytes, SourceKind::Vb6);
}

std::vector<std::string> ReadVbNetProject(std::string_view projectBytes) {
    return ReadMembers(projectBytes, SourceKind::VbNet);
}

ProjectRead VisitProjectMembers(const std::string& path, SourceKind kind,
                                const MemberVisitor& onMember) {
    const auto located = LocateFile(path);
    ProjectRead read;
    if (kind != SourceKind::Vb6) {
        // An SDK-style project names few or none of its members; they come from its folder.
        const SdkProjectRead sdk = ScanSdkProjectFile(path);
        if (sdk.problem.error != FileError::None) {
            read.problem = sdk.problem;
            return read;
        }
        if (sdk.scan.sdkStyle) {
            SdkMembers members = SdkProjectMembers(ProjectFolder(located.value_or(path)), sdk.scan);
            for (std::string& name : members.names) {
                if (!onMember(std::move(name))) {
                    break;
                }
            }
            read.unlisted = std::move(members.unlisted);
            read.notes = sdk.scan.notes;
            return read;
        }
    }
    InputFile file = InputFile::Open(located.value_or(path));
    read.problem = file.IsOpen() ? VisitProjectMembers(file, kind, onMember) : file.Problem();
    return read;
}

FileProblem VisitProjectMembers(ByteSource& source, SourceKind kind,
                                const MemberVisitor& onMember) {
    const auto nameOf = kind == SourceKind::Vb6 ? Vb6MemberName : VbNetMemberName;
    return ReadSourceLines(source, ProjectEncodingRule(kind), [&](std::string_view line) {
        auto name = nameOf(line);
        return !name || onMember(std::move(*name));
    });
}

ProjectMembers ReadProjectFile(const std::string& path, SourceKind kind) {
    ProjectMembers result;
    ProjectRead read = VisitProjectMembers(path, kind, [&](std::string name) {
        result.names.push_back(std::move(name));
        return true;
    });
    result.problem = std::move(read.problem);
    result.unlisted = std::move(read.unlisted);
    result.notes = std::move(read.notes);
    if (result.problem.error != FileError::None) {
        result.names.clear();
    }
    return result;
}

}  // namespace tallix
