#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/file_system.h"
#include "engine/files/folder_walk.h"

namespace tallix {

// One <Compile> element: Include adds files, Remove takes them out of those added so far.
struct CompileItemRule {
    enum class Action { Include, Remove };
    Action action = Action::Include;
    std::vector<std::string> patterns;  // the ";"-separated list, XML references decoded
    std::vector<std::string> excludes;  // an Include's Exclude list
};

// Something in a project that the reader takes without evaluating it, as MSBuild would:
// a property or item reference in a pattern is taken as written, a condition as true.
struct ProjectNote {
    enum class Kind { PropertyNotEvaluated, ConditionNotEvaluated };
    Kind kind = Kind::PropertyNotEvaluated;
    std::string text;  // the pattern, value or condition as written

    friend bool operator==(const ProjectNote&, const ProjectNote&) = default;
};

// What a .vbproj says about its compile items, as far as it matters for counting.
struct SdkProjectScan {
    bool sdkStyle = false;     // the root has an Sdk attribute, or <Sdk> or <Import Sdk=...>
    bool defaultItems = true;  // every .vb file under the folder, unless turned off
    std::vector<CompileItemRule> rules;  // document order
    std::vector<ProjectNote> notes;      // each once, in document order
};

// A tolerant scan of project XML fed as decoded text in pieces of any size: it looks only
// at tags, at the text of the two properties that turn default items off and at the
// conditions on them and their groups, skips comments, and never fails. Malformed parts
// are passed over. A condition written as true or false ('true', "false"...) is obeyed;
// any other is taken as true and noted.
class SdkProjectScanner {
public:
    // Without rules the scan only tells the style and keeps nothing that grows with the
    // text, which suits a first look at a project that may be a large classic one.
    explicit SdkProjectScanner(bool keepRules = true);
    ~SdkProjectScanner();
    SdkProjectScanner(const SdkProjectScanner&) = delete;
    SdkProjectScanner& operator=(const SdkProjectScanner&) = delete;

    void Feed(std::string_view text);
    const SdkProjectScan& Result() const;

private:
    class Rules;
    std::unique_ptr<Rules> rules_;
};

SdkProjectScan ScanSdkProject(std::string_view text);

struct SdkProjectRead {
    SdkProjectScan scan;
    FileProblem problem;  // error None when the file was read to its end
};

// Reads a project file from disk (located as LocateFile does, decoded by the XML rule) and
// scans it; the rules are read, in a second pass, only from an SDK-style project.
SdkProjectRead ScanSdkProjectFile(const std::string& path);

// The members of an SDK-style project.
struct SdkMembers {
    std::vector<std::string> names;
    // Folders under the project's folder, or named by a pattern, that could not be listed:
    // their files may be members that are missing from names. Paths as names are written.
    std::vector<FolderProblem> unlisted;
};

// The members of an SDK-style project in `folder` (UTF-8, ending in a separator, or ""):
// the default items when they are on, then each rule in order. Names are relative to the
// folder, those found on disk with backslashes, as a project file writes them, those an
// Include writes as it writes them, with "." and "name\.." taken out; an absolute pattern
// names absolute paths. A file named twice is listed once: two names are
// one file when they are equal without regard to letter case, unless both were found on
// disk (a case-sensitive file system may hold "a.vb" and "A.vb"). Designer and assembly
// information files are left out, as from any VB.NET project, and the list is in PathLess
// order. Takes time in proportion to the files named, however many there are.
SdkMembers SdkProjectMembers(const std::string& folder, const SdkProjectScan& scan);

}  // namespace tallix
