#include "engine/projects/project_readers.h"

#include <array>
#include <memory>

#include "engine/projects/sdk_project.h"
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

template <typename NameOf>
std::vector<std::string> ReadMembers(std::string_view projectBytes, NameOf nameOf) {
    std::vector<std::string> names;
    TextLineReader reader([&](std::string_view line) {
        if (auto name = nameOf(line)) {
            names.push_back(std::move(*name));
        }
    });
    reader.Feed(projectBytes);
    reader.Finish();
    return names;
}

}  // namespace

std::optional<std::string> Vb6MemberName(std::string_view line) {
    for (const auto& prefix : kVb6Prefixes) {
        if (!line.starts_with(prefix.text)) {
            continue;
        }
        if (!prefix.nameAfterSemicolon) {
            return std::string(line.substr(line.find('=') + 1));
        }
        const auto semicolon = line.find(';');
        const auto name = semicolon == std::string_view::npos ? line : line.substr(semicolon + 1);
        return std::string(TrimSpaces(name));
    }
    return std::nullopt;
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

std::vector<std::string> ReadVb6Project(std::string_view projectBytes) {
    return ReadMembers(projectBytes, Vb6MemberName);
}

std::vector<std::string> ReadVbNetProject(std::string_view projectBytes) {
    return ReadMembers(projectBytes, VbNetMemberName);
}

FileProblem VisitProjectMembers(const std::string& path, SourceKind kind,
                                const MemberVisitor& onMember) {
    const auto located = LocateFile(path);
    if (kind != SourceKind::Vb6) {
        // An SDK-style project names few or none of its members; they come from its folder.
        const SdkProjectRead sdk = ScanSdkProjectFile(path);
        if (sdk.problem.error != FileError::None) {
            return sdk.problem;
        }
        if (sdk.scan.sdkStyle) {
            for (std::string& name :
                 SdkProjectMembers(ProjectFolder(located.value_or(path)), sdk.scan)) {
                if (!onMember(std::move(name))) {
                    break;
                }
            }
            return {};
        }
    }
    InputFile file = InputFile::Open(located.value_or(path));
    if (!file.IsOpen()) {
        return file.Problem();
    }
    return VisitProjectMembers(file, kind, onMember);
}

FileProblem VisitProjectMembers(ByteSource& source, SourceKind kind,
                                const MemberVisitor& onMember) {
    const auto nameOf = kind == SourceKind::Vb6 ? Vb6MemberName : VbNetMemberName;
    bool wanted = true;
    TextLineReader reader([&](std::string_view line) {
        if (!wanted) {
            return;
        }
        if (auto name = nameOf(line)) {
            wanted = onMember(std::move(*name));
        }
    });
    const auto buffer = std::make_unique<char[]>(kReadBlockSize);
    while (wanted) {
        const std::size_t got = source.Read(buffer.get(), kReadBlockSize);
        if (got == 0) {
            break;
        }
        reader.Feed({buffer.get(), got});
    }
    if (source.Problem().error != FileError::None) {
        return source.Problem();
    }
    if (wanted) {
        reader.Finish();
    }
    return {};
}

ProjectMembers ReadProjectFile(const std::string& path, SourceKind kind) {
    ProjectMembers result;
    result.problem = VisitProjectMembers(path, kind, [&](std::string name) {
        result.names.push_back(std::move(name));
        return true;
    });
    if (result.problem.error != FileError::None) {
        result.names.clear();
    }
    return result;
}

}  // namespace tallix
