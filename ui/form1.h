#pragma once

// The program's one window and how data flows through it:
//
//   user ── controls (path box, option buttons, menu check marks)
//             │  copied into the analysis before each command
//             ▼
//   ProjectAnalysis::OpenProject / StartAnalysis / ClearFile   (engine)
//             │  reaches out only through AnalysisHost: messages, the open dialog,
//             │  the Start button, settings
//             ▼
//   controls (path box, result list, total) ◄── copied back after each command
//
// The kind and the counting options are stored as soon as they change (UserSettings).

#include <QMainWindow>

#include "engine/project_analysis.h"
#include "ui/form1_controls.h"

class QButtonGroup;

namespace tallix {

class FileDialogs;
class MessageSink;
class UserSettings;

class Form1 : public QMainWindow, private AnalysisHost {
    Q_OBJECT

public:
    // The window applies the stored kind and options while it is built. The three services
    // must outlive it.
    Form1(UserSettings& settings, FileDialogs& dialogs, MessageSink& messages,
          QWidget* parent = nullptr);
    ~Form1() override;

private:
    void SetUpFrame();
    void ConnectCommands();
    void ApplyStoredSettings();

    // One slot per command; a button and its menu item share it.
    void OpenProject();
    void ClearFile();
    void StartAnalysis();
    void SaveResults();
    void ToggleBlankLine();
    void ToggleRemarkLine();
    void SelectKind(int kindId, bool selected);
    void ChooseKindItem(SourceKind kind);
    void ShowHelpFile();
    void VisitMyWeb();
    void MailToMe();
    void ShowAbout();
    void ExitProgram();

    void RunCommand(void (ProjectAnalysis::*command)());
    void CopyControlsToAnalysis();
    void CopyAnalysisToControls();
    SourceKind SelectedKind() const;
    void ShowKindMarks(SourceKind kind);

    // AnalysisHost
    void ShowMessage(const std::string& text) override;
    std::string ChooseProjectFile(const std::string& title, const std::string& pattern,
                                  const std::string& filterName) override;
    void SetStartEnabled(bool enabled) override;
    void StoreSetting(const std::string& key, const std::string& value) override;

    UserSettings& settings_;
    FileDialogs& dialogs_;
    MessageSink& messages_;
    Form1Controls controls_;
    Form1Menus menus_;
    QButtonGroup* kinds_;
    bool busy_ = false;
    bool startHadFocus_ = false;
    ProjectAnalysis analysis_{*this};
};

}  // namespace tallix
