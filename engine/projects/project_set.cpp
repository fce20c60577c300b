#include "engine/projects/project_set.h"

#include <algorithm>
#include <array>
#include <memory>
#include <set>

#include "engine/files/file_identity.h"
#include "engine/files/folder_walk.h"
#include "engine/files/path_glob.h"
#include "engine/text/text_lines.h"

namespace tallix {

namespace {

constexpr std::array<std::string_view, 2> kVisualBasicTypes{
    "F184B08F-C81C-45F6-A57F-5ABD9991F28F",  // classic .vbproj
    "778DAE3C-4631-46EA-AA77-85C1314464D9",  // SDK-style .vbproj
};
constexpr std::string_view kSolutionFolderType = "2150E333-8FDC-42A3-9474-1A3956D46DE8";

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           SamePathIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

std::string_view WithoutBraces(std::string_view guid) {
    if (guid.starts_with('{') && guid.ends_with('}')) {
        return guid.substr(1, guid.size() - 2);
    }
    return guid;
}

// Keeps each file once: by identity where the file exists, by path otherwise.
class SeenFiles {
public:
    bool FirstTime(const std::string& path) {
        if (const auto identity = IdentifyFile(path)) {
            return identities_.insert(*identity).second;
        }
        return paths_.insert(path).second;
    }

private:
    std::set<FileIdentity> identities_;
    std::set<std::string> paths_;
};

// Reads a group or solution line by line, decoded.
FileProblem ReadLines(const std::string& path,
                      const std::function<void(std::string_view)>& onLine) {
    InputFile file = InputFile::Open(LocateFile(path).value_or(path));
    if (!file.IsOpen()) {
        return file.Problem();
    }
    TextLineReader reader(onLine);
    const auto buffer = std::make_unique<char[]>(kReadBlockSize);
    while (const std::size_t got = file.Read(buffer.get(), kReadBlockSize)) {
        reader.Feed({buffer.get(), got});
    }
    if (file.Problem().error != FileError::None) {
        return file.Problem();
    }
    reader.Finish();
    return {};
}

// Adds a project named relative to the set file's folder, or lists it as skipped.
void AddNamed(ProjectSet& set, SeenFiles& seen, const std::string& folder, const std::string& name,
              const std::string& written) {
    const std::string tried = MemberPath(folder, written);
    const auto found = LocateFile(tried);
    if (!found) {
        set.skipped.push_back({name, tried, SkipReason::Missing});
    } else if (seen.FirstTime(*found)) {
        set.projects.push_back({*found, KindOfProjectFile(*found)});
    }
}

void ReadGroup(const std::string& path, ProjectSet& set) {
    std::vector<std::string> names;
    set.problem = ReadLines(path, [&](std::string_view line) {
        if (auto name = GroupProjectName(line)) {
            names.push_back(std::move(*name));
        }
    });
    if (set.problem.error != FileError::None) {
        return;
    }
    SeenFiles seen;
    const std::string folder = ProjectFolder(path);
    for (const std::string& name : names) {
        AddNamed(set, seen, folder, "", name);
    }
}

void ReadSolution(const std::string& path, ProjectSet& set) {
    std::vector<SolutionEntry> entries;
    set.problem = ReadLines(path, [&](std::string_view line) {
        if (auto entry = SolutionEntryOf(line)) {
            entries.push_back(std::move(*entry));
        }
    });
    if (set.problem.error != FileError::None) {
        return;
    }
    SeenFiles seen;
    const std::string folder = ProjectFolder(path);
    for (const SolutionEntry& entry : entries) {
        if (IsSolutionFolderType(entry.type)) {
            set.skipped.push_back({entry.name, entry.path, SkipReason::SolutionFolder});
        } else if (!IsVisualBasicType(entry.type)) {
            set.skipped.push_back(
                {entry.name, MemberPath(folder, entry.path), SkipReason::NotVisualBasic});
        } else {
            AddNamed(set, seen, folder, entry.name, entry.path);
        }
    }
}

void ReadFolder(const std::string& path, ProjectSet& set) {
    std::vector<std::string> found;
    WalkProjectFiles(path, [&](const std::string& relative) { found.push_back(relative); });
    set.projects = OrderFolderProjects(path, std::move(found));
}

}  // namespace

void WalkProjectFiles(const std::string& folder, const FileVisitor& onProject) {
    const auto entered = [](std::string_view name, std::string_view) {
        return !(SamePathIgnoringCase(name, ".git") || SamePathIgnoringCase(name, "bin") ||
                 SamePathIgnoringCase(name, "obj"));
    };
    WalkFiles(folder, entered, [&](const std::string& relative) {
        if (EndsWithIgnoringCase(relative, ".vbp") || EndsWithIgnoringCase(relative, ".vbproj")) {
            onProject(relative);
        }
    });
}

std::string FolderProjectPath(const std::string& folder, std::string relative) {
    // The path continues the folder as it was given, in its own separator.
    const char separator =
        folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\'
                                                                                        : '/';
    std::replace(relative.begin(), relative.end(), '/', separator);
    const bool ended = folder.ends_with('/') || folder.ends_with('\\');
    return ended ? folder + relative : folder + separator + relative;
}

std::vector<SetProject> OrderFolderProjects(const std::string& folder,
                                            std::vector<std::string> relatives) {
    std::sort(relatives.begin(), relatives.end(),
              [](const std::string& a, const std::string& b) { return PathLess(a, b); });
    std::vector<SetProject> projects;
    SeenFiles seen;
    for (std::string& relative : relatives) {
        std::string full = FolderProjectPath(folder, std::move(relative));
        if (seen.FirstTime(full)) {
            const SourceKind kind = KindOfProjectFile(full);
            projects.push_back({std::move(full), kind});
        }
    }
    return projects;
}

SourceKind KindOfProjectFile(std::string_view path) {
    return EndsWithIgnoringCase(path, ".vbproj") ? SourceKind::VbNet : SourceKind::Vb6;
}

SetKind KindOfSetPath(const std::string& path) {
    if (EndsWithIgnoringCase(path, ".vbg")) {
        return SetKind::Group;
    }
    if (EndsWithIgnoringCase(path, ".sln")) {
        return SetKind::Solution;
    }
    if (IsFolder(path)) {
        return SetKind::Folder;
    }
    return SetKind::Project;
}

std::optional<std::string> GroupProjectName(std::string_view line) {
    for (const std::string_view prefix : {"Project=", "StartupProject="}) {
        if (line.starts_with(prefix)) {
            return std::string(TrimSpaces(line.substr(prefix.size())));
        }
    }
    return std::nullopt;
}

std::optional<SolutionEntry> SolutionEntryOf(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    if (!line.starts_with("Project(")) {
        return std::nullopt;
    }
    // The quoted texts in order: the type, the name, the path and the project's own GUID.
    std::vector<std::string_view> quoted;
    for (std::size_t open = line.find('"'); open != std::string_view::npos && quoted.size() < 3;) {
        const auto close = line.find('"', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        quoted.push_back(line.substr(open + 1, close - open - 1));
        open = line.find('"', close + 1);
    }
    if (quoted.size() < 3) {
        return std::nullopt;
    }
    return SolutionEntry{std::string(WithoutBraces(quoted[0])), std::string(quoted[1]),
                         std::string(quoted[2])};
}

bool IsVisualBasicType(std::string_view typeGuid) {
    return std::any_of(kVisualBasicTypes.begin(), kVisualBasicTypes.end(),
                       [&](std::string_view type) { return SamePathIgnoringCase(type, typeGuid); });
}

bool IsSolutionFolderType(std::string_view typeGuid) {
    return SamePathIgnoringCase(typeGuid, kSolutionFolderType);
}

ProjectSet ReadProjectSet(const std::string& path) {
    ProjectSet set;
    set.kind = KindOfSetPath(path);
    switch (set.kind) {
        case SetKind::Group:
            ReadGroup(path, set);
            break;
        case SetKind::Solution:
            ReadSolution(path, set);
            break;
        case SetKind::Folder:
            ReadFolder(path, set);
            break;
        case SetKind::Project:
            set.projects.push_back({path, KindOfProjectFile(path)});
            break;
    }
    return set;
}

}  // namespace tallix
