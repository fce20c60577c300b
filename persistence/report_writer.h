#pragma once

#include <optional>
#include <string>

#include "persistence/replace_file.h"

namespace tallix {

// What a report records: the project path as the window holds it at save time and the two
// result texts. Text is UTF-8 here; the file is written in the ANSI code page.
struct ReportContent {
    std::string projectPath;
    std::string foundLines;
    std::string totalLines;
};

// The five lines of a report, each ending in CR LF, encoded for the file.
std::string ReportBytes(const ReportContent& content);

// Writes the report so that the path holds either its old content or the whole new report,
// never a part: the bytes go to a temporary file beside it, which then replaces it. On POSIX
// two more rules apply. A symbolic link is followed, through any chain of links, to the file
// it names, which is written (made, when missing) while the link stays. A folder that allows
// no new file gets an existing, writable report truncated and written in place, where a
// failure part-way leaves part of the new report.
// Returns the system's reason when the report could not be written.
std::optional<std::string> WriteReport(const std::string& path, const ReportContent& content);

}  // namespace tallix
