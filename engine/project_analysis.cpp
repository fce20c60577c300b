#include "engine/project_analysis.h"

#include <algorithm>

#include "engine/counting/set_count.h"
#include "engine/files/file_system.h"
#include "engine/projects/project_readers.h"

namespace tallix {

namespace {

struct DialogText {
    const char* title;
    const char* pattern;
    const char* filterName;
};

constexpr DialogText kVb6Dialog{"打开VB6工程文件(*.vbp)", "*.vbp", "VB6工程文件"};
constexpr DialogText kVbNetDialog{"打开VB7/8/9工程文件", "*.vbproj", "VB7/8/9工程文件"};

}  // namespace

void ProjectAnalysis::OpenProject() {
    std::string path;
    if (DroppedFlag == 1) {
        path = ProjectPath;
        DroppedFlag = 0;
    } else {
        if (SourceKind == SourceKind::None) {
            host_.ShowMessage({AnalysisReason::Kind::NoKindChosen});
            return;
        }
        const DialogText& dialog = SourceKind == SourceKind::Vb6 ? kVb6Dialog : kVbNetDialog;
        path = host_.ChooseProjectFile(dialog.title, dialog.pattern, dialog.filterName);
        if (path.empty()) {
            return;
        }
        ProjectPath = path;
    }
    if (FileExists(path)) {
        ReadMembers(path);
    }
    FoundLinesText.clear();
    TotalLinesText.clear();
    host_.StoreSetting("Init_Dir", path);
}

void ProjectAnalysis::ReadMembers(const std::string& path) {
    // One name past the list's end is enough to know the project does not fit.
    std::vector<std::string> names;
    const ProjectRead read = VisitProjectMembers(path, SourceKind, [&](std::string name) {
        names.push_back(std::move(name));
        return names.size() <= kMaxMembers;
    });
    if (read.problem.error != FileError::None) {
        // The previous member list stays, as it does for a path that does not exist.
        host_.ShowMessage({AnalysisReason::Kind::ProjectUnreadable, {path}, read.problem});
        return;
    }
    if (!read.unlisted.empty()) {
        std::vector<std::string> folders;
        const std::string projectFolder = ProjectFolder(path);
        for (const FolderProblem& unlisted : read.unlisted) {
            folders.push_back(MemberPath(projectFolder, unlisted.path));
        }
        host_.ShowMessage({AnalysisReason::Kind::FoldersUnlisted, std::move(folders),
                           read.unlisted.front().problem});
    }
    const auto kept = std::min<std::size_t>(names.size(), kMaxMembers);
    std::move(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(kept),
              SourceFiles.begin());
    SourceFileCount = static_cast<std::int16_t>(kept);
    SourceProject = path;
    if (names.size() > kept) {
        host_.ShowMessage({AnalysisReason::Kind::TooManyMembers});
    }
}

void ProjectAnalysis::StartAnalysis() {
    FoundLinesText.clear();
    TotalLinesText.clear();
    if (ProjectPath.empty()) {
        host_.ShowMessage({AnalysisReason::Kind::NoProjectPath});
        return;
    }
    host_.SetStartEnabled(false);
    std::vector<std::string> unreadable;
    if (!FileExists(ProjectPath)) {
        host_.ShowMessage({AnalysisReason::Kind::ProjectMissing, {ProjectPath}});
    } else {
        const std::string folder = ProjectFolder(ProjectPath);
        const CountOptions options{SkipBlankLines, SkipCommentLines};
        const std::vector<std::string> names(SourceFiles.begin(),
                                             SourceFiles.begin() + SourceFileCount);
        const std::vector<MemberCount> members = CountMembers(folder, names, SourceKind, options);
        for (const MemberCount& member : members) {
            if (member.problem.error != FileError::None) {
                unreadable.push_back(member.path);
            }
        }
        const ResultTexts texts = BuildResultTexts(members);
        FoundLinesText = texts.foundLines;
        TotalLinesText = texts.totalLines;
    }
    host_.SetStartEnabled(true);
    if (!unreadable.empty()) {
        host_.ShowMessage({AnalysisReason::Kind::MembersUnreadable, std::move(unreadable)});
    }
}

void ProjectAnalysis::ClearFile() {
    ProjectPath.clear();
}

}  // namespace tallix
