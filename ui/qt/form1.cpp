#include "ui/qt/form1.h"

#include <QButtonGroup>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "ui/qt/export_source_box.h"

namespace tallix {

namespace {

// A file manager takes an accepted move as leave to delete what it dropped, so the project is
// taken as a copy, or as a link when copying is not offered. A drag that offers only a move is
// refused: the file stays where it is and the user can drag again with the copy key held.
bool TakeWithoutMoving(QDropEvent* event) {
    const Qt::DropActions offered = event->possibleActions();
    const Qt::DropAction action = (offered & Qt::CopyAction)   ? Qt::CopyAction
                                  : (offered & Qt::LinkAction) ? Qt::LinkAction
                                                               : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return false;
    }
    event->setDropAction(action);
    event->accept();
    return true;
}

}  // namespace

Form1::Form1(UserSettings& settings, FileDialogs& dialogs, MessageSink& messages, Desktop& desktop,
             QWidget* parent)
    : QMainWindow(parent), commands_(*this, settings, dialogs, messages, desktop, *this) {
    setObjectName(QStringLiteral("Form1"));
    setCentralWidget(new QWidget(this));
    controls_ = CreateControls(centralWidget());
    menus_ = CreateMenus(menuBar());
    SetUpFrame();
    SetUpDropTargets();
    ConnectCommands();
    commands_.ApplyStoredSettings();
    controls_.txtFileName->setFocus();
}

Form1::~Form1() = default;

void Form1::SetUpFrame() {
    setWindowTitle(QString::fromStdString(commands_.Caption()));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    centralWidget()->setFixedSize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void Form1::SetUpDropTargets() {
    // A drop goes to the widget under the pointer and, while not taken, on up to its parents;
    // only the window takes drops, so a drop on any control reaches DropFiles. The text boxes
    // would insert dropped text instead, so they take none; the total and the rule take
    // every drag event themselves and do nothing with it.
    setAcceptDrops(true);
    controls_.txtFileName->setAcceptDrops(false);
    controls_.lblFoundline->setAcceptDrops(false);
    controls_.lblFoundline->viewport()->setAcceptDrops(false);
    for (QWidget* refusing :
         {static_cast<QWidget*>(controls_.LblTotalLine), static_cast<QWidget*>(controls_.Line1)}) {
        refusing->setAcceptDrops(true);
        refusing->installEventFilter(this);
    }
}

void Form1::ConnectCommands() {
    struct Command {
        QAction* item;
        QPushButton* button;
        void (Form1Commands::*run)();
    };
    const Command commands[] = {
        {menus_.meuOpen, controls_.Command10, &Form1Commands::OpenProject},
        {menus_.meuClear, controls_.Command9, &Form1Commands::ClearFile},
        {menus_.meuStart, controls_.Command8, &Form1Commands::StartAnalysis},
        {menus_.meuSave, controls_.Command7, &Form1Commands::SaveResults},
        {menus_.meuExportSource, nullptr, &Form1Commands::ExportSource},
        {menus_.meuExit, nullptr, &Form1Commands::ExitProgram},
        {menus_.meuBlankLine, nullptr, &Form1Commands::ToggleBlankLine},
        {menus_.meuRemarkLine, nullptr, &Form1Commands::ToggleRemarkLine},
        {menus_.meuHelpFile, nullptr, &Form1Commands::ShowHelpFile},
        {menus_.meuVisitMyWeb, nullptr, &Form1Commands::VisitMyWeb},
        {menus_.meuMailToMe, nullptr, &Form1Commands::MailToMe},
        {menus_.meuAbout, nullptr, &Form1Commands::ShowAbout},
    };
    for (const Command& command : commands) {
        const auto run = [this, run = command.run] { (commands_.*run)(); };
        Forward(command.item, run);
        if (command.button != nullptr) {
            connect(command.button, &QPushButton::clicked, this, run);
        }
    }

    // The option buttons hold the kind. A click reports even on the selected button; the
    // commands tell a change from a repeat.
    kinds_ = new QButtonGroup(this);
    kinds_->addButton(controls_.Option1, static_cast<int>(SourceKind::Vb6));
    kinds_->addButton(controls_.Option2, static_cast<int>(SourceKind::VbNet));
    connect(kinds_, &QButtonGroup::idClicked, this,
            [this](int id) { commands_.OptionClicked(static_cast<SourceKind>(id)); });
    Forward(menus_.meuVB6Proj, [this] { commands_.KindItemChosen(SourceKind::Vb6); });
    Forward(menus_.meuVBdotNetProj, [this] { commands_.KindItemChosen(SourceKind::VbNet); });
}

void Form1::Forward(QAction* item, std::function<void()> command) {
    connect(item, &QAction::triggered, this, [item, command = std::move(command)] {
        if (item->isCheckable()) {
            item->setChecked(!item->isChecked());
        }
        command();
    });
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    // Any data is welcome: a drop without files still runs Open, which then asks.
    TakeWithoutMoving(event);
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    TakeWithoutMoving(event);
}

void Form1::dropEvent(QDropEvent* event) {
    if (TakeWithoutMoving(event)) {
        DropFiles(*event->mimeData());
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            // An ignored drag event would travel on to the window; taking it with no action
            // stops it here and tells the source that nothing was done.
            auto* drag = static_cast<QDropEvent*>(event);
            drag->setDropAction(Qt::IgnoreAction);
            drag->accept();
            return true;
        }
        default:
            return QMainWindow::eventFilter(watched, event);
    }
}

// Web addresses are no files: only local paths go on, with the platform's separators.
void Form1::DropFiles(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
        }
    }
    commands_.DropFiles(paths);
}

std::string Form1::ProjectPath() const {
    return controls_.txtFileName->text().toStdString();
}

void Form1::SetProjectPath(const std::string& path) {
    controls_.txtFileName->setText(QString::fromStdString(path));
}

SourceKind Form1::SelectedKind() const {
    const int id = kinds_->checkedId();
    return id < 0 ? SourceKind::None : static_cast<SourceKind>(id);
}

void Form1::SetSelectedKind(SourceKind kind) {
    if (QAbstractButton* button = kinds_->button(static_cast<int>(kind))) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = kinds_->checkedButton()) {
        kinds_->setExclusive(false);  // an exclusive group keeps one button checked
        checked->setChecked(false);
        kinds_->setExclusive(true);
    }
}

void Form1::SetKindMarks(SourceKind kind) {
    menus_.meuVB6Proj->setChecked(kind == SourceKind::Vb6);
    menus_.meuVBdotNetProj->setChecked(kind == SourceKind::VbNet);
}

QAction* Form1::ToggleItem(Form1Toggle item) const {
    return item == Form1Toggle::BlankLine ? menus_.meuBlankLine : menus_.meuRemarkLine;
}

bool Form1::IsChecked(Form1Toggle item) const {
    return ToggleItem(item)->isChecked();
}

void Form1::SetChecked(Form1Toggle item, bool checked) {
    ToggleItem(item)->setChecked(checked);
}

void Form1::ShowResults(const std::string& foundLines, const std::string& totalLines) {
    controls_.lblFoundline->setPlainText(QString::fromStdString(foundLines));
    controls_.LblTotalLine->setText(QString::fromStdString(totalLines));
    controls_.LblTotalLine->adjustSize();
}

void Form1::SetBusy(bool busy) {
    if (busy) {
        // Disabling the focused button would pass the focus on to Save; it comes back after.
        startHadFocus_ = controls_.Command8->hasFocus();
        controls_.Command8->setEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
        controls_.Command8->setEnabled(true);
        if (startHadFocus_) {
            controls_.Command8->setFocus();
        }
    }
}

void Form1::CloseWindow() {
    close();
}

std::optional<ExportSourceChoice> Form1::AskExportSource(const ExportSourceChoice& prefilled) {
    return tallix::AskExportSource(this, prefilled);
}

}  // namespace tallix
