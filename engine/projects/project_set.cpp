#include "engine/projects/project_set.h"

#include <algorithm>
#include <array>
#include <memory>
#include <set>

#include "engine/files/file_identity.h"
#include "engine/files/folder_walk.h"
#include "engine/files/path_glob.h"
#include "engine/files/text_source.h"
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

// What is read while a group or solution is read, nested ones included.
struct SetReading {
    ProjectSet& set;
    SeenFiles projects;
    std::set<FileIdentity> sets;  // the groups and solutions read so far
};

void ReadNamedSets(const std::string& path, SetKind kind, SetReading& reading, bool outermost);

// Why a project named by a set cannot be counted, when it cannot.
std::optional<SkippedProject> Unusable(const std::string& name, const std::string& tried,
                                       const std::optional<std::string>& found) {
    const std::string path = found.value_or(tried);
    if (found && FileExists(path)) {
        return std::nullopt;
    }
    const InputFile file = InputFile::Open(path);
    if (file.IsOpen() || file.Problem().error == FileError::Missing) {
        return SkippedProject{name, path, SkipReason::Missing};  // absent, or hidden
    }
    return SkippedProject{name, path, SkipReason::Unusable, file.Problem()};
}

// Adds a project named relative to the set file's folder, or lists it as skipped; a group
// or solution is read in its place.
void AddNamed(SetReading& reading, const std::string& folder, const std::string& name,
              const std::string& written) {
    ProjectSet& set = reading.set;
    const std::string tried = MemberPath(folder, written);
    const auto found = LocateFile(tried);
    if (auto skipped = Unusable(name, tried, found)) {
        set.skipped.push_back(std::move(*skipped));
        return;
    }
    const SetKind kind = KindOfSetPath(*found);
    if (kind == SetKind::Group || kind == SetKind::Solution) {
        const auto identity = IdentifyFile(*found);
        if (identity && !reading.sets.insert(*identity).second) {
            set.skipped.push_back({name, *found, SkipReason::Repeated});
            return;
        }
        ReadNamedSets(*found, kind, reading, false);
    } else if (reading.projects.FirstTime(*found)) {
        set.projects.push_back({*found, KindOfProjectFile(*found)});
    }
}

// A set file's line without the byte-order mark that may open the first one.
std::string_view WithoutMark(std::string_view line) {
    return line.starts_with(kUtf8Bom) ? line.substr(kUtf8Bom.size()) : line;
}

void ReadGroup(const std::string& path, SetReading& reading, std::vector<std::string>& names) {
    reading.set.problem = ReadFileLines(path, SetEncodingRule(SetKind::Group), [&](auto line) {
        if (auto name = GroupProjectName(WithoutMark(line))) {
            names.push_back(std::move(*name));
        }
        return true;
    });
}

// The entries of a solution that name projects, after those that do not are listed.
void ReadSolution(const std::string& path, SetReading& reading,
                  std::vector<SolutionEntry>& entries) {
    std::vector<SolutionEntry> all;
    reading.set.problem =
        ReadFileLines(path, SetEncodingRule(SetKind::Solution), [&](std::string_view line) {
            if (auto entry = SolutionEntryOf(WithoutMark(line))) {
                all.push_back(std::move(*entry));
            }
            return true;
        });
    const std::string folder = ProjectFolder(path);
    for (SolutionEntry& entry : all) {
        if (IsSolutionFolderType(entry.type)) {
            reading.set.skipped.push_back({entry.name, entry.path, SkipReason::SolutionFolder});
        } else if (!IsVisualBasicType(entry.type)) {
            reading.set.skipped.push_back(
                {entry.name, MemberPath(folder, entry.path), SkipReason::NotVisualBasic});
        } else {
            entries.push_back(std::move(entry));
        }
    }
}

// Reads a group or solution into the set. One named inside another that cannot be read
// is skipped; the outermost one's failure is the set's.
void ReadNamedSets(const std::string& path, SetKind kind, SetReading& reading, bool outermost) {
    std::vector<std::pair<std::string, std::string>> named;  // name, path as written
    if (kind == SetKind::Group) {
        std::vector<std::string> names;
        ReadGroup(path, reading, names);
        for (std::string& name : names) {
            named.emplace_back("", std::move(name));
        }
    } else {
        std::vector<SolutionEntry> entries;
        ReadSolution(path, reading, entries);
        for (SolutionEntry& entry : entries) {
            named.emplace_back(std::move(entry.name), std::move(entry.path));
        }
    }
    if (reading.set.problem.error != FileError::None) {
        if (!outermost) {
            reading.set.skipped.push_back({"", path, SkipReason::Unusable, reading.set.problem});
            reading.set.problem = {};
        }
        return;
    }
    const std::string folder = ProjectFolder(path);
    for (const auto& [name, written] : named) {
        AddNamed(reading, folder, name, written);
    }
}

void ReadSets(const std::string& path, ProjectSet& set) {
    SetReading reading{set, {}, {}};
    if (const auto identity = IdentifyFile(LocateFile(path).value_or(path))) {
        reading.sets.insert(*identity);
    }
    ReadNamedSets(path, set.kind, reading, true);
}

void ReadFolder(const std::string& path, ProjectSet& set) {
    std::vector<std::string> found;
    WalkProjectFiles(
        path, [&](const std::string& relative) { found.push_back(relative); },
        [&](FolderProblem problem) { set.unlisted.push_back(std::move(problem)); });
    set.projects = OrderFolderProjects(path, std::move(found));
}

}  // namespace

void WalkProjectFiles(const std::string& folder, const FileVisitor& onProject,
                      const FolderProblemHandler& onProblem) {
    const auto entered = [](std::string_view name, std::string_view) {
        return !(SamePathIgnoringCase(name, ".git") || SamePathIgnoringCase(name, "bin") ||
                 SamePathIgnoringCase(name, "obj"));
    };
    const auto onFile = [&](const std::string& relative) {
        if (!EndsWithIgnoringCase(relative, ".vbp") && !EndsWithIgnoringCase(relative, ".vbproj")) {
            return;
        }
        // The walk takes what the existence test would find, so no project it hands on
        // can then be reported missing.
        const auto slash = relative.rfind('/');
        const std::string_view name =
            std::string_view(relative).substr(slash == std::string::npos ? 0 : slash + 1);
        if (!IsHiddenFile(FolderProjectPath(folder, relative), name)) {
            onProject(relative);
        }
    };
    WalkFiles(folder, entered, onFile, onProblem);
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

EncodingRule SetEncodingRule(SetKind kind) {
    return kind == SetKind::Solution ? EncodingRule::Utf8UnlessInvalid
                                     : EncodingRule::AnsiUnlessMarked;
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
        case SetKind::Solution:
            ReadSets(path, set);
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
