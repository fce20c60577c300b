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
// The kind and the counting options are stored as soon as they change (UserSettings). A file
// dropped anywhere on the window fills the path box and runs Open; Save writes the report.

#include <QMainWindow>

#include "engine/project_analysis.h"
#include "ui/form1_controls.h"

class QButtonGroup;
class QMimeData;

namespace tallix {

class Desktop;
class FileDialogs;
class MessageSink;
class UserSettings;

class Form1 : public QMainWindow, private AnalysisHost {
    Q_OBJECT

public:
    // The window applies the stored kind and options while it is built. The services must
    // outlive it.
    Form1(UserSettings& settings, FileDialogs& dialogs, MessageSink& messages, Desktop& desktop,
          QWidget* parent = nullptr);
    ~Form1() override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpFrame();
    void SetUpDropTargets();
    void ConnectCommands();
    void ApplyStoredSettings();

    // The one drop handler: every control that takes a drop hands it here unchanged.
    void DropFiles(const QMimeData& data);

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

    void ShowMessage(const std::string& text);

    // AnalysisHost
    void ShowMessage(const AnalysisReason& reason) override;
    std::string ChooseProjectFile(const std::string& title, const std::string& pattern,
                                  const std::string& filterName) override;
    void SetStartEnabled(bool enabled) override;
    void StoreSetting(const std::string& key, const std::string& value) override;

    UserSettings& settings_;
    FileDialogs& dialogs_;
    MessageSink& messages_;
    Desktop& desktop_;
    Form1Controls controls_;
    Form1Menus menus_;
    QButtonGroup* kinds_;
    bool busy_ = false;
    bool startHadFocus_ = false;
    ProjectAnalysis analysis_{*this};
};

}  // namespace tallix
