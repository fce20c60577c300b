#pragma once

// What every command of the main window does, written once for every toolkit:
//
//   user ── view (path box, option buttons, menu check marks) ── one call per event
//             │                                                       ▼
//             │                                              Form1Commands
//             │  read into the analysis before Open, Start and Clear; │
//             ▼                                                       ▼
//   ProjectAnalysis (engine) ── AnalysisHost: messages, the open dialog, the Start button,
//             │                settings
//             ▼
//   view (path box, result list, total) ◄── shown after each command and before each message
//
// The kind and the counting options are stored as soon as they change (UserSettings). Save
// writes the report; Export writes the software-copyright deposit of the last opened member
// list, asking the window's own dialog (ExportSourceDialog) for its header; the help menu goes
// through the Desktop. Nothing here needs a toolkit.

#include <functional>
#include <string>
#include <vector>

#include "engine/project_analysis.h"
#include "ui/form1_view.h"

namespace tallix {

class Desktop;
class ExportSourceDialog;
class FileDialogs;
class MessageSink;
class UserSettings;

class Form1Commands : private AnalysisHost {
public:
    // Everything given must outlive the commands. Nothing is asked of the view until the
    // first call, so a view may hand itself over while it is being built.
    Form1Commands(Form1View& view, UserSettings& settings, FileDialogs& dialogs,
                  MessageSink& messages, Desktop& desktop, ExportSourceDialog& exportDialog);

    // Once, while the window loads: the stored kind and counting options.
    void ApplyStoredSettings();

    void OpenProject();
    void ClearFile();
    void StartAnalysis();
    void SaveResults();
    // meuExportSource: the deposit of the member list and folder of the last Open, with the
    // kind and options in force, as Start would count them; it needs a Start that found lines.
    void ExportSource();
    // The command flips the item's check mark itself and stores the new state.
    void ToggleBlankLine();
    void ToggleRemarkLine();
    // A click on an option button, which the view has already selected.
    void OptionClicked(SourceKind kind);
    // meuVB6Proj or meuVBdotNetProj: selects the kind's option button.
    void KindItemChosen(SourceKind kind);
    void ShowHelpFile();
    void VisitMyWeb();
    void MailToMe();
    void ShowAbout();
    void ExitProgram();
    // Files dropped on the window, as local paths: the last one is taken; Open runs always,
    // and asks in its dialog when no file came.
    void DropFiles(const std::vector<std::string>& localPaths);

    std::string Caption() const;

private:
    // Runs a command that reads files; memory that runs out in it ends the command, not
    // the program, with a message and the Start button enabled again.
    void Guarded(const std::function<void()>& command);
    void Save();
    void RunAnalysisCommand(void (ProjectAnalysis::*command)());
    void ReadView();
    void ShowAnalysis();
    void SelectKind(SourceKind kind);
    void Toggle(Form1Toggle item, void (UserSettings::*store)(bool));
    // A message over what the running command has done so far.
    void Tell(const std::string& text);
    std::string DialogFolder() const;

    // AnalysisHost
    void ShowMessage(const AnalysisReason& reason) override;
    std::string ChooseProjectFile(const std::string& title, const std::string& pattern,
                                  const std::string& filterName) override;
    void SetStartEnabled(bool enabled) override;
    void StoreSetting(const std::string& key, const std::string& value) override;

    Form1View& view_;
    UserSettings& settings_;
    FileDialogs& dialogs_;
    MessageSink& messages_;
    Desktop& desktop_;
    ExportSourceDialog& exportDialog_;
    // The kind whose menu item carries the check mark: the option button selected at design
    // time until a selection changes it.
    SourceKind markedKind_ = SourceKind::Vb6;
    bool busy_ = false;
    ProjectAnalysis analysis_{*this};
};

}  // namespace tallix
