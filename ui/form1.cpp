#include "ui/form1.h"

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

#include "app/version.h"
#include "engine/file_system.h"
#include "persistence/report_writer.h"
#include "persistence/user_settings.h"
#include "ui/desktop.h"
#include "ui/file_dialogs.h"
#include "ui/message_sink.h"
#include "ui/messages.h"

namespace tallix {

namespace {

// "Cantorel Ver 1.00 Build 0062": the minor version in two digits, the revision in four.
QString WindowCaption() {
    return QStringLiteral("Cantorel Ver %1.%2 Build %3")
        .arg(kVersionMajor)
        .arg(kVersionMinor, 2, 10, QLatin1Char('0'))
        .arg(kVersionRevision, 4, 10, QLatin1Char('0'));
}

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
    : QMainWindow(parent),
      settings_(settings),
      dialogs_(dialogs),
      messages_(messages),
      desktop_(desktop) {
    setObjectName(QStringLiteral("Form1"));
    setCentralWidget(new QWidget(this));
    controls_ = CreateControls(centralWidget());
    menus_ = CreateMenus(menuBar());
    SetUpFrame();
    SetUpDropTargets();
    ConnectCommands();
    ApplyStoredSettings();
    controls_.txtFileName->setFocus();
}

Form1::~Form1() = default;

void Form1::SetUpFrame() {
    setWindowTitle(WindowCaption());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    centralWidget()->setFixedSize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
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
        void (Form1::*run)();
    };
    const Command commands[] = {
        {menus_.meuOpen, controls_.Command10, &Form1::OpenProject},
        {menus_.meuClear, controls_.Command9, &Form1::ClearFile},
        {menus_.meuStart, controls_.Command8, &Form1::StartAnalysis},
        {menus_.meuSave, controls_.Command7, &Form1::SaveResults},
        {menus_.meuExit, nullptr, &Form1::ExitProgram},
        {menus_.meuBlankLine, nullptr, &Form1::ToggleBlankLine},
        {menus_.meuRemarkLine, nullptr, &Form1::ToggleRemarkLine},
        {menus_.meuHelpFile, nullptr, &Form1::ShowHelpFile},
        {menus_.meuVisitMyWeb, nullptr, &Form1::VisitMyWeb},
        {menus_.meuMailToMe, nullptr, &Form1::MailToMe},
        {menus_.meuAbout, nullptr, &Form1::ShowAbout},
    };
    for (const Command& command : commands) {
        connect(command.item, &QAction::triggered, this, command.run);
        if (command.button != nullptr)
            connect(command.button, &QPushButton::clicked, this, command.run);
    }

    // The option buttons hold the kind; a kind's menu item selects its button, so both paths
    // run SelectKind, and only when the selection really changes.
    kinds_ = new QButtonGroup(this);
    kinds_->addButton(controls_.Option1, static_cast<int>(SourceKind::Vb6));
    kinds_->addButton(controls_.Option2, static_cast<int>(SourceKind::VbNet));
    connect(kinds_, &QButtonGroup::idToggled, this, &Form1::SelectKind);
    connect(menus_.meuVB6Proj, &QAction::triggered, this,
            [this] { ChooseKindItem(SourceKind::Vb6); });
    connect(menus_.meuVBdotNetProj, &QAction::triggered, this,
            [this] { ChooseKindItem(SourceKind::VbNet); });
}

void Form1::ApplyStoredSettings() {
    // Option1 is selected as built; selecting Option2 runs SelectKind, which stores "1" again.
    if (settings_.ProjectKind() == SourceKind::VbNet) controls_.Option2->setChecked(true);
    menus_.meuBlankLine->setChecked(settings_.SkipBlankLines());
    menus_.meuRemarkLine->setChecked(settings_.SkipCommentLines());
}

void Form1::OpenProject() {
    RunCommand(&ProjectAnalysis::OpenProject);
}

void Form1::ClearFile() {
    RunCommand(&ProjectAnalysis::ClearFile);
}

void Form1::StartAnalysis() {
    RunCommand(&ProjectAnalysis::StartAnalysis);
}

void Form1::SaveResults() {
    CopyControlsToAnalysis();
    if (analysis_.TotalLinesText.empty() || analysis_.FoundLinesText.empty()) {
        ShowMessage("请先分析完成后，才能保存!");
        return;
    }
    const QString path = dialogs_.ShowSaveDialog(
        this, QStringLiteral("保存分析结果："), QStringLiteral("*.LOG"), QStringLiteral("Log文件"));
    if (!path.isEmpty()) {
        const auto problem = WriteReport(
            path.toStdString(),
            {analysis_.ProjectPath, analysis_.FoundLinesText, analysis_.TotalLinesText});
        if (problem) ShowMessage("文件" + path.toStdString() + "无法写入：" + *problem);
    }
    settings_.StoreInitDir(path);
}

// A checkable item has already flipped its mark when it reports the trigger.
void Form1::ToggleBlankLine() {
    settings_.StoreSkipBlankLines(menus_.meuBlankLine->isChecked());
}

void Form1::ToggleRemarkLine() {
    settings_.StoreSkipCommentLines(menus_.meuRemarkLine->isChecked());
}

void Form1::SelectKind(int kindId, bool selected) {
    if (!selected) return;
    const auto kind = static_cast<SourceKind>(kindId);
    ShowKindMarks(kind);
    settings_.StoreProjectKind(kind);
}

void Form1::ChooseKindItem(SourceKind kind) {
    // The item has flipped its own mark; the marks follow the buttons alone, so put it back
    // before selecting the button, which changes the marks only if the kind changes.
    ShowKindMarks(SelectedKind());
    kinds_->button(static_cast<int>(kind))->setChecked(true);
}

void Form1::ShowHelpFile() {
    const QString path = HelpFilePath(settings_.ProgramFolder());
    if (!FileExists(path.toStdString())) {
        messages_.ShowInformation(this, QStringLiteral("提示"),
                                  QStringLiteral("帮助文件readme.txt未找到！"));
    } else if (!desktop_.ShowTextFile(path)) {
        messages_.ShowMessage(
            this, QStringLiteral("无法打开帮助文件%1：找不到能打开它的程序！").arg(path));
    }
}

void Form1::VisitMyWeb() {
    const QUrl page = HomePageUrl();
    if (!desktop_.OpenUrl(page))
        messages_.ShowMessage(
            this,
            QStringLiteral("无法打开个人主页%1：找不到能打开它的程序！").arg(page.toString()));
}

void Form1::MailToMe() {
    const QUrl mail = MailUrl();
    if (!desktop_.OpenUrl(mail))
        messages_.ShowMessage(
            this, QStringLiteral("无法新建发给%1的邮件：找不到邮件程序！").arg(mail.path()));
}

void Form1::ShowAbout() {
    messages_.ShowMessage(this, windowTitle());
}

void Form1::ExitProgram() {
    close();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    // Any data is welcome: a drop without files still runs Open, which then asks.
    TakeWithoutMoving(event);
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    TakeWithoutMoving(event);
}

void Form1::dropEvent(QDropEvent* event) {
    if (TakeWithoutMoving(event)) DropFiles(*event->mimeData());
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

void Form1::DropFiles(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        controls_.txtFileName->setText(QDir::toNativeSeparators(url.toLocalFile()));
        analysis_.DroppedFlag = 1;
    }
    OpenProject();
}

void Form1::RunCommand(void (ProjectAnalysis::*command)()) {
    CopyControlsToAnalysis();
    (analysis_.*command)();
    CopyAnalysisToControls();
}

void Form1::CopyControlsToAnalysis() {
    analysis_.ProjectPath = controls_.txtFileName->text().toStdString();
    analysis_.SourceKind = SelectedKind();
    analysis_.SkipBlankLines = menus_.meuBlankLine->isChecked();
    analysis_.SkipCommentLines = menus_.meuRemarkLine->isChecked();
}

void Form1::CopyAnalysisToControls() {
    const QString path = QString::fromStdString(analysis_.ProjectPath);
    if (controls_.txtFileName->text() != path) controls_.txtFileName->setText(path);
    controls_.lblFoundline->setPlainText(QString::fromStdString(analysis_.FoundLinesText));
    controls_.LblTotalLine->setText(QString::fromStdString(analysis_.TotalLinesText));
    controls_.LblTotalLine->adjustSize();
}

SourceKind Form1::SelectedKind() const {
    const int id = kinds_->checkedId();
    return id < 0 ? SourceKind::None : static_cast<SourceKind>(id);
}

void Form1::ShowKindMarks(SourceKind kind) {
    menus_.meuVB6Proj->setChecked(kind == SourceKind::Vb6);
    menus_.meuVBdotNetProj->setChecked(kind == SourceKind::VbNet);
}

void Form1::ShowMessage(const std::string& text) {
    // The box appears over what the command has done so far, as a pointer, not a wait cursor.
    CopyAnalysisToControls();
    if (busy_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    messages_.ShowMessage(this, QString::fromStdString(text));
    if (busy_) QGuiApplication::restoreOverrideCursor();
}

void Form1::ShowMessage(const AnalysisReason& reason) {
    ShowMessage(MessageText(reason));
}

std::string Form1::ChooseProjectFile(const std::string& title, const std::string& pattern,
                                     const std::string& filterName) {
    return dialogs_
        .ShowOpenDialog(this, QString::fromStdString(title), QString::fromStdString(pattern),
                        QString::fromStdString(filterName))
        .toStdString();
}

void Form1::SetStartEnabled(bool enabled) {
    if (busy_ == !enabled) return;
    busy_ = !enabled;
    if (busy_) {
        // Disabling the focused button would pass the focus on to Save; it comes back after.
        startHadFocus_ = controls_.Command8->hasFocus();
        controls_.Command8->setEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
        controls_.Command8->setEnabled(true);
        if (startHadFocus_) controls_.Command8->setFocus();
    }
}

void Form1::StoreSetting(const std::string& key, const std::string& value) {
    settings_.StoreByKey(QString::fromStdString(key), QString::fromStdString(value));
}

}  // namespace tallix
