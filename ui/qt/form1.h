#pragma once

// The program's one window in Qt: it creates the controls, hands each event to one call of
// Form1Commands, which does the work for every toolkit (see ui/form1_commands.h), and shows
// what the commands ask it to.

#include <QMainWindow>
#include <functional>

#include "ui/form1_commands.h"
#include "ui/form1_view.h"
#include "ui/qt/form1_controls.h"
#include "ui/window_services.h"

class QButtonGroup;
class QMimeData;

namespace tallix {

class Form1 : public QMainWindow, private Form1View, private ExportSourceDialog {
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
    // A menu item runs the command; a checkable one first takes back the mark it flipped
    // itself, since the commands own every mark.
    void Forward(QAction* item, std::function<void()> command);

    // The one drop handler: every control that takes a drop hands it here unchanged.
    void DropFiles(const QMimeData& data);

    // Form1View
    std::string ProjectPath() const override;
    void SetProjectPath(const std::string& path) override;
    SourceKind SelectedKind() const override;
    void SetSelectedKind(SourceKind kind) override;
    void SetKindMarks(SourceKind kind) override;
    bool IsChecked(Form1Toggle item) const override;
    void SetChecked(Form1Toggle item, bool checked) override;
    void ShowResults(const std::string& foundLines, const std::string& totalLines) override;
    void SetBusy(bool busy) override;
    void CloseWindow() override;

    // ExportSourceDialog
    std::optional<ExportSourceChoice> AskExportSource(const ExportSourceChoice& prefilled) override;

    QAction* ToggleItem(Form1Toggle item) const;

    Form1Controls controls_;
    Form1Menus menus_;
    QButtonGroup* kinds_ = nullptr;
    bool startHadFocus_ = false;
    Form1Commands commands_;
};

}  // namespace tallix
