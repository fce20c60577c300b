// Renders the window, after counting the example VB6 project, and its menus to PNG files and
// prints the sizes and fonts it got, for a look at the real thing under an X server:
//   xvfb-run -a build/tests/ui/form1_screenshot docs/window.png docs/menus.png
// Options, before the file names:
//   --project PATH   count this project instead (scripts/screenshot copies the example to a
//                    path that says nothing about the machine it was taken on)
//   --family NAME    draw every control and menu in this font family alone, to compare faces
//   --results TEXT   show this text in the result box after counting, e.g. names whose
//                    "l", "1" and "I" a face must keep apart
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "ui/qt/form1.h"
#include "ui/window_services.h"

namespace {

// Chooses the project without showing a dialog.
class ExampleProject : public tallix::FileDialogs {
public:
    QString project = QStringLiteral(TALLIX_EXAMPLES_DIR "/vb6/Inventory.vbp");

    std::string ShowOpenDialog(const tallix::FileDialogRequest&) override {
        return QDir::toNativeSeparators(project).toStdString();
    }
    std::string ShowSaveDialog(const tallix::FileDialogRequest&) override { return {}; }
};

class PrintedMessages : public tallix::MessageSink {
public:
    void ShowMessage(const std::string& text) override {
        std::printf("message: %s\n", text.c_str());
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        std::printf("%s: %s\n", title.c_str(), text.c_str());
    }
};

// Opens nothing: the screenshot has no use for a viewer or a browser.
class NoDesktop : public tallix::Desktop {
public:
    bool ShowTextFile(const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
};

// The menus side by side, the source submenu after the option menu.
QImage MenusImage(const tallix::Form1& window) {
    QList<QPixmap> shots;
    for (const char* name : {"meuFile", "meuOption", "meuSource", "meuHelp"}) {
        shots << window.findChild<QMenu*>(QString::fromLatin1(name))->grab();
    }
    int width = 0;
    int height = 0;
    for (const QPixmap& shot : shots) {
        width += shot.width() + 8;
        height = std::max(height, shot.height());
    }
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    int left = 0;
    for (const QPixmap& shot : shots) {
        painter.drawPixmap(left, 0, shot);
        left += shot.width() + 8;
    }
    return image;
}

void UseFamily(tallix::Form1& window, const QString& family) {
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets << &window;
    for (QWidget* widget : widgets) {
        QFont font = widget->font();
        font.setFamilies({family});
        widget->setFont(font);
    }
}

void Report(const tallix::Form1& window) {
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("window: %d x %d, client area: %d x %d, menu bar height: %d\n", window.width(),
                window.height(), window.centralWidget()->width(), window.centralWidget()->height(),
                window.menuBar()->height());
    for (const char* name : {"Option1", "lblFoundline"}) {
        const QFontInfo font(window.findChild<QWidget*>(QString::fromLatin1(name))->font());
        std::printf("%s font: %s %.1f pt\n", name, qPrintable(font.family()), font.pointSizeF());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    ExampleProject dialogs;
    QString family;
    QString results;
    while (args.size() >= 2 && args[0].startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        if (option == QStringLiteral("--project")) {
            dialogs.project = value;
        } else if (option == QStringLiteral("--family")) {
            family = value;
        } else if (option == QStringLiteral("--results")) {
            results = value;
        } else {
            args.clear();
        }
    }
    if (args.isEmpty() || args[0].startsWith(QStringLiteral("--"))) {
        std::fprintf(stderr,
                     "usage: form1_screenshot [--project PATH] [--family NAME] [--results TEXT] "
                     "WINDOW.png [MENUS.png]\n");
        return 2;
    }
    tallix::MemorySettingsStore store;
    tallix::UserSettings settings(store, QDir::currentPath().toStdString());
    PrintedMessages messages;
    NoDesktop desktop;
    tallix::Form1 window(settings, dialogs, messages, desktop);
    if (!family.isEmpty()) {
        UseFamily(window, family);
    }
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    window.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
    window.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
    if (!results.isEmpty()) {
        window.findChild<QPlainTextEdit*>(QStringLiteral("lblFoundline"))->setPlainText(results);
    }
    QTest::qWait(200);
    Report(window);
    if (!window.grab().save(args[0])) {
        return 1;
    }
    if (args.size() > 1 && !MenusImage(window).save(args[1])) {
        return 1;
    }
    return 0;
}
