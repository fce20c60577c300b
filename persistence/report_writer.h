#pragma once

#include <optional>
#include <string>

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
// never a part: the bytes go to a temporary file beside it, which then replaces it.
// Returns the system's reason when the report could not be written.
std::optional<std::string> WriteReport(const std::string& path, const ReportContent& content);

// Replaces a file's content in one step, as above. A file marked read-only is not replaced.
std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& bytes);

}  // namespace tallix
