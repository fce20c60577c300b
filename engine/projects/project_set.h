#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/file_system.h"
#include "engine/files/folder_walk.h"
#include "engine/projects/source_kind.h"
#include "engine/text/encoding_sniffer.h"

namespace tallix {

// One project of a set, with the kind its extension gives it.
struct SetProject {
    std::string path;
    SourceKind kind = SourceKind::Vb6;
};

enum class SkipReason {
    Missing,         // no such file, or one the existence test passes over
    Unusable,        // not a regular file, or not readable: see the problem
    NotVisualBasic,  // a solution's project of another language
    SolutionFolder,  // a solution's folder, which holds no code
    Repeated,        // a group or solution named again inside itself
};

// A project a group or solution names but that is not counted.
struct SkippedProject {
    std::string name;  // as the solution names it; "" for a group's entries
    std::string path;  // the path tried
    SkipReason reason = SkipReason::Missing;
    FileProblem problem = {};  // why it is Unusable
};

// Where the projects to count came from.
enum class SetKind { Project, Group, Solution, Folder };

// The projects a path stands for, each once, in the order to count and show them.
struct ProjectSet {
    SetKind kind = SetKind::Project;
    std::vector<SetProject> projects;
    std::vector<SkippedProject> skipped;
    FileProblem problem;                  // a group or solution that could not be read to its end
    std::vector<FolderProblem> unlisted;  // a folder's subfolders that could not be listed
};

// ".vbproj" in any letter case is VB.NET, anything else VB6.
SourceKind KindOfProjectFile(std::string_view path);

// A group (.vbg) or solution (.sln), by extension in any letter case; a folder; otherwise
// a project of its own.
SetKind KindOfSetPath(const std::string& path);

// The project path a VB6 group's "Project=" or "StartupProject=" line names, as written.
std::optional<std::string> GroupProjectName(std::string_view line);

// A solution's project line: Project("{type}") = "Name", "path", "{guid}".
struct SolutionEntry {
    std::string type;  // the type GUID without braces
    std::string name;
    std::string path;  // as written, relative to the solution's folder
};
std::optional<SolutionEntry> SolutionEntryOf(std::string_view line);

// Whether a solution's project type is one of Visual Basic's (classic or SDK-style), or a
// solution folder.
bool IsVisualBasicType(std::string_view typeGuid);
bool IsSolutionFolderType(std::string_view typeGuid);

// How a group and a solution are decoded: a group is ANSI unless marked, as VB6 writes
// it; a solution is UTF-8 when it is valid UTF-8.
EncodingRule SetEncodingRule(SetKind kind);

// Reads the set a path names. A project file stands for itself, whether or not it exists.
// A group's and a solution's projects are found relative to its folder, as members are,
// and those missing, unusable or not Visual Basic are listed as skipped, with the reason.
// A group or solution named inside another is read in its place, once: named again, it
// is skipped. A folder yields every .vbp and .vbproj under it that the existence test
// finds (hidden ones are left out), leaving out .git, bin and obj folders and never
// following links to folders, in PathLess order of their paths below it; the folders it
// could not list are kept. A file reached twice (the same path twice, or through a hard
// link) is taken once.
ProjectSet ReadProjectSet(const std::string& path);

// The parts of reading a folder, for a caller that counts projects while the walk goes on.
// The walk hands on each .vbp and .vbproj as its path below the folder, "/" between names,
// in no particular order, and each folder it could not list.
void WalkProjectFiles(const std::string& folder, const FileVisitor& onProject,
                      const FolderProblemHandler& onProblem);
// A project's path: the folder as given, then the path below it in the folder's separator.
std::string FolderProjectPath(const std::string& folder, std::string relative);
// The projects a walk found, in the order ReadProjectSet gives them, each file once.
std::vector<SetProject> OrderFolderProjects(const std::string& folder,
                                            std::vector<std::string> relatives);

}  // namespace tallix
