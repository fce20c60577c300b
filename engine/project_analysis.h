#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/member_count.h"
#include "engine/source_kind.h"

namespace tallix {

// What the analysis needs from the program around it; the window supplies it, tests fake it.
class AnalysisHost {
public:
    virtual ~AnalysisHost() = default;

    virtual void ShowMessage(const std::string& text) = 0;
    // The chosen path, or "" when the user cancelled.
    virtual std::string ChooseProjectFile(const std::string& title, const std::string& pattern,
                                          const std::string& filterName) = 0;
    virtual void SetStartEnabled(bool enabled) = 0;
    virtual void StoreSetting(const std::string& key, const std::string& value) = 0;
};

// The state behind the main window and its three commands, Open, Start and Clear. The
// fields are plain data: the window writes the path, kind and options into them before a
// command and shows the result texts after it.
class ProjectAnalysis {
public:
    static constexpr int kMaxMembers = 81;
    static constexpr int kMaxListedUnreadable = 20;

    explicit ProjectAnalysis(AnalysisHost& host) : host_(host) {}

    void OpenProject();
    void StartAnalysis();
    void ClearFile();

    std::string ProjectPath;
    tallix::SourceKind SourceKind = tallix::SourceKind::None;
    bool SkipBlankLines = false;
    bool SkipCommentLines = false;
    std::array<std::string, kMaxMembers> SourceFiles;
    std::int16_t SourceFileCount = 0;
    std::int16_t DroppedFlag = 0;
    std::string FoundLinesText;
    std::string TotalLinesText;

private:
    void ReadMembers(const std::string& path);

    AnalysisHost& host_;
};

// The message Start shows after a run in which some members could not be read.
std::string UnreadableMembersMessage(const std::vector<std::string>& paths);

}  // namespace tallix
