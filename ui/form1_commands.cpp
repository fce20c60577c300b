#include "ui/form1_commands.h"

#include <new>

#include "engine/files/file_system.h"
#include "engine/listing/listing_members.h"
#include "engine/projects/project_title.h"
#include "persistence/deposit/deposit_writer.h"
#include "persistence/report_writer.h"
#include "persistence/user_settings.h"
#include "ui/app_links.h"
#include "ui/dialog_paths.h"
#include "ui/messages.h"
#include "ui/window_caption.h"
#include "ui/window_services.h"

namespace tallix {

namespace {

constexpr const char* kReportPattern = "*.LOG";
constexpr const char* kDepositPattern = "*.pdf";

}  // namespace

Form1Commands::Form1Commands(Form1View& view, UserSettings& settings, FileDialogs& dialogs,
                             MessageSink& messages, Desktop& desktop,
                             ExportSourceDialog& exportDialog)
    : view_(view),
      settings_(settings),
      dialogs_(dialogs),
      messages_(messages),
      desktop_(desktop),
      exportDialog_(exportDialog) {
}

void Form1Commands::ApplyStoredSettings() {
    // Vb6 is the design-time selection, so only VbNet is a change, and only it is stored.
    const SourceKind kind = settings_.ProjectKind();
    view_.SetSelectedKind(kind);
    view_.SetKindMarks(markedKind_);
    SelectKind(kind);
    view_.SetChecked(Form1Toggle::BlankLine, settings_.SkipBlankLines());
    view_.SetChecked(Form1Toggle::RemarkLine, settings_.SkipCommentLines());
}

void Form1Commands::OpenProject() {
    RunAnalysisCommand(&ProjectAnalysis::OpenProject);
}

void Form1Commands::ClearFile() {
    RunAnalysisCommand(&ProjectAnalysis::ClearFile);
}

void Form1Commands::StartAnalysis() {
    RunAnalysisCommand(&ProjectAnalysis::StartAnalysis);
}

void Form1Commands::SaveResults() {
    Guarded([this] { Save(); });
}

void Form1Commands::Save() {
    analysis_.ProjectPath = view_.ProjectPath();
    if (analysis_.TotalLinesText.empty() || analysis_.FoundLinesText.empty()) {
        Tell("请先分析完成后，才能保存!");
        return;
    }
    std::string path =
        dialogs_.ShowSaveDialog({"保存分析结果：", kReportPattern, "Log文件", DialogFolder()});
    if (!path.empty()) {
        path = NormaliseSavePath(path, kReportPattern);
        const auto problem = WriteReport(
            path, {analysis_.ProjectPath, analysis_.FoundLinesText, analysis_.TotalLinesText});
        if (problem) {
            Tell("文件" + path + "无法写入：" + *problem);
        }
    }
    settings_.StoreInitDir(path);
}

// Unlike Save, Export leaves "Init_Dir" as it is: the next Open still starts at the project.
void Form1Commands::ExportSource() {
    ReadView();
    if (analysis_.TotalLinesText.empty() || analysis_.FoundLinesText.empty()) {
        Tell("请先分析完成后，才能导出源程序!");
        return;
    }
    const ProjectTitle title = ReadProjectTitle(analysis_.ProjectPath, analysis_.SourceKind);
    const std::optional<ExportSourceChoice> choice =
        exportDialog_.AskExportSource({title.name, title.version, false});
    if (!choice) {
        return;
    }
    std::string path =
        dialogs_.ShowSaveDialog({"导出源程序：", kDepositPattern, "PDF文件", DialogFolder()});
    if (path.empty()) {
        return;
    }
    path = DepositSavePath(path);
    const std::vector<std::string> names(analysis_.SourceFiles.begin(),
                                         analysis_.SourceFiles.begin() + analysis_.SourceFileCount);
    std::vector<ListingMember> members =
        FolderListingMembers(ProjectFolder(analysis_.SourceProject), analysis_.SourceProject, names,
                             analysis_.SourceKind);
    const DepositResult result =
        WriteDeposit({path,
                      {choice->softwareName, choice->softwareVersion},
                      choice->allPages,
                      {analysis_.SkipBlankLines, analysis_.SkipCommentLines}},
                     std::move(members));
    Tell(DepositMessage(result, path));
}

void Form1Commands::ToggleBlankLine() {
    Toggle(Form1Toggle::BlankLine, &UserSettings::StoreSkipBlankLines);
}

void Form1Commands::ToggleRemarkLine() {
    Toggle(Form1Toggle::RemarkLine, &UserSettings::StoreSkipCommentLines);
}

void Form1Commands::OptionClicked(SourceKind kind) {
    SelectKind(kind);
}

void Form1Commands::KindItemChosen(SourceKind kind) {
    view_.SetSelectedKind(kind);
    SelectKind(kind);
}

void Form1Commands::ShowHelpFile() {
    const std::string path = HelpFilePath(settings_.ProgramFolder());
    if (!FileExists(path)) {
        messages_.ShowInformation("提示", "帮助文件readme.txt未找到！");
    } else if (!desktop_.ShowTextFile(path)) {
        messages_.ShowMessage("无法打开帮助文件" + path + "：找不到能打开它的程序！");
    }
}

void Form1Commands::VisitMyWeb() {
    const std::string page = HomePageUrl();
    if (!desktop_.OpenUrl(page)) {
        messages_.ShowMessage("无法打开个人主页" + page + "：找不到能打开它的程序！");
    }
}

void Form1Commands::MailToMe() {
    if (!desktop_.OpenUrl(MailUrl())) {
        messages_.ShowMessage("无法新建发给" + MailAddress() + "的邮件：找不到邮件程序！");
    }
}

void Form1Commands::ShowAbout() {
    messages_.ShowMessage(Caption());
}

void Form1Commands::ExitProgram() {
    view_.CloseWindow();
}

void Form1Commands::DropFiles(const std::vector<std::string>& localPaths) {
    for (const std::string& path : localPaths) {
        view_.SetProjectPath(path);
        analysis_.DroppedFlag = 1;
    }
    OpenProject();
}

std::string Form1Commands::Caption() const {
    return WindowCaption();
}

void Form1Commands::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        SetStartEnabled(true);
        Tell("内存不足，命令未完成！");
    }
}

void Form1Commands::RunAnalysisCommand(void (ProjectAnalysis::*command)()) {
    Guarded([this, command] {
        ReadView();
        (analysis_.*command)();
        ShowAnalysis();
    });
}

void Form1Commands::ReadView() {
    analysis_.ProjectPath = view_.ProjectPath();
    analysis_.SourceKind = view_.SelectedKind();
    analysis_.SkipBlankLines = view_.IsChecked(Form1Toggle::BlankLine);
    analysis_.SkipCommentLines = view_.IsChecked(Form1Toggle::RemarkLine);
}

void Form1Commands::ShowAnalysis() {
    if (view_.ProjectPath() != analysis_.ProjectPath) {
        view_.SetProjectPath(analysis_.ProjectPath);
    }
    view_.ShowResults(analysis_.FoundLinesText, analysis_.TotalLinesText);
}

// Selecting the kind that is already selected does nothing: the marks and the stored value
// change only with the selection.
void Form1Commands::SelectKind(SourceKind kind) {
    if (kind == markedKind_ || kind == SourceKind::None) {
        return;
    }
    markedKind_ = kind;
    view_.SetKindMarks(kind);
    settings_.StoreProjectKind(kind);
}

void Form1Commands::Toggle(Form1Toggle item, void (UserSettings::*store)(bool)) {
    const bool checked = !view_.IsChecked(item);
    view_.SetChecked(item, checked);
    (settings_.*store)(checked);
}

void Form1Commands::Tell(const std::string& text) {
    ShowAnalysis();
    messages_.ShowMessage(text);
}

std::string Form1Commands::DialogFolder() const {
    return StartingFolder(settings_.InitDir());
}

void Form1Commands::ShowMessage(const AnalysisReason& reason) {
    Tell(MessageText(reason));
}

std::string Form1Commands::ChooseProjectFile(const std::string& title, const std::string& pattern,
                                             const std::string& filterName) {
    return dialogs_.ShowOpenDialog({title, pattern, filterName, DialogFolder()});
}

void Form1Commands::SetStartEnabled(bool enabled) {
    if (busy_ == !enabled) {
        return;
    }
    busy_ = !enabled;
    view_.SetBusy(busy_);
}

// The engine names only the program's own keys; UserSettings refuses any other.
void Form1Commands::StoreSetting(const std::string& key, const std::string& value) {
    settings_.StoreByKey(key, value);
}

}  // namespace tallix
