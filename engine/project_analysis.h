#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/files/file_system.h"
#include "engine/projects/source_kind.h"

namespace tallix {

// Something the analysis has to tell the user, as data: the host words it in its own
// language and place.
struct AnalysisReason {
    enum class Kind {
        NoKindChosen,       // Open with neither project kind selected
        NoProjectPath,      // Start with an empty path
        ProjectMissing,     // paths: the project
        ProjectUnreadable,  // paths: the project; problem: why it could not be read
        TooManyMembers,     // the project names more members than the list holds
        MembersUnreadable,  // paths: each member that could not be read, in project order
        FoldersUnlisted,    // paths: an SDK-style project's folders that could not be listed
    };

    Kind kind;
    std::vector<std::string> paths = {};
    FileProblem problem = {};
};

// What the analysis needs from the program around it; the window supplies it, tests fake it.
class AnalysisHost {
public:
    virtual ~AnalysisHost() = default;

    virtual void ShowMessage(const AnalysisReason& reason) = 0;
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
    // The project SourceFiles were read from: its folder is where they are found for a
    // deposit, whatever ProjectPath holds by then.
    std::string SourceProject;
    std::int16_t DroppedFlag = 0;
    std::string FoundLinesText;
    std::string TotalLinesText;

private:
    void ReadMembers(const std::string& path);

    AnalysisHost& host_;
};

}  // namespace tallix
