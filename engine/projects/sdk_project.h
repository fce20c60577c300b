#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/file_system.h"

namespace tallix {

// One <Compile> element: Include adds files, Remove takes them out of those added so far.
struct CompileItemRule {
    enum class Action { Include, Remove };
    Action action = Action::Include;
    std::vector<std::string> patterns;  // the ";"-separated list, XML references decoded
    std::vector<std::string> excludes;  // an Include's Exclude list
};

// What a .vbproj says about its compile items, as far as it matters for counting.
struct SdkProjectScan {
    bool sdkStyle = false;     // the root has an Sdk attribute, or <Sdk> or <Import Sdk=...>
    bool defaultItems = true;  // every .vb file under the folder, unless turned off
    std::vector<CompileItemRule> rules;  // document order
};

// A tolerant scan of project XML fed as decoded text in pieces of any size: it looks only
// at tags and at the text of the two properties that turn default items off, skips
// comments, and never fails. Malformed parts are passed over.
class SdkProjectScanner {
public:
    // Without rules the scan only tells the style and keeps nothing that grows with the
    // text, which suits a first look at a project that may be a large classic one.
    explicit SdkProjectScanner(bool keepRules = true) : keepRules_(keepRules) {}

    void Feed(std::string_view text);
    const SdkProjectScan& Result() const { return scan_; }

private:
    // A tag longer than this is no tag of interest; its rest is skipped.
    static constexpr std::size_t kMaxTag = 1 << 20;

    void EndTag();
    void EndPropertyText(std::string_view closingName);

    bool keepRules_;
    SdkProjectScan scan_;
    bool inTag_ = false;
    bool tagTooLong_ = false;
    char quote_ = 0;
    bool rootSeen_ = false;
    std::string tag_;
    bool inProperty_ = false;
    std::string propertyName_;
    std::string propertyText_;
};

SdkProjectScan ScanSdkProject(std::string_view text);

struct SdkProjectRead {
    SdkProjectScan scan;
    FileProblem problem;  // error None when the file was read to its end
};

// Reads a project file from disk (located as LocateFile does) and scans it; the rules are
// read, in a second pass, only from an SDK-style project.
SdkProjectRead ScanSdkProjectFile(const std::string& path);

// The members of an SDK-style project in `folder` (UTF-8, ending in a separator, or ""):
// the default items when they are on, then each rule in order. Names are relative to the
// folder with backslashes, as a project file writes them; an Include names its files as it
// writes them. Designer and assembly information files are left out, as from any VB.NET
// project, and the list is in PathLess order without two names for one path.
std::vector<std::string> SdkProjectMembers(const std::string& folder, const SdkProjectScan& scan);

}  // namespace tallix
