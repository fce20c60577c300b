#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/counting/line_counter.h"
#include "engine/files/file_system.h"
#include "engine/projects/source_kind.h"

namespace tallix {

struct CountOptions {
    bool skipBlankLines = false;
    bool skipCommentLines = false;
};

// One member of a counted project.
struct MemberCount {
    std::string name;        // as the project file writes it
    std::string path;        // the file opened, or the path tried when none was found
    LineTally tally;         // by class, whatever the options
    std::int64_t lines = 0;  // counted under the options; 0 when the file cannot be read
    FileProblem problem;
    std::optional<FileIdentity> identity;  // of the file opened
};

// A member's file, opened as it is found: the path as the project writes it first, and only
// when that fails a look-up without regard to letter case. `path` is the file opened, or the
// path tried when none was found (`file` then holds the problem).
struct OpenedMember {
    std::string path;
    InputFile file;
};

OpenedMember OpenMember(const std::string& folder, const std::string& name, FileLocator& locator);

MemberCount CountMember(const std::string& folder, const std::string& name, SourceKind kind,
                        CountOptions options, FileLocator& locator);

// The per-file list ("name:count" for each member that counted more than 0, joined with ",")
// and the total, as the window shows them and the report saves them.
struct ResultTexts {
    std::string foundLines;
    std::string totalLines;
    std::int64_t total = 0;
};

ResultTexts BuildResultTexts(const std::vector<MemberCount>& members);

}  // namespace tallix
