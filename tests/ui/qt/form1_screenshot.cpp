// Renders the window, after counting the example VB6 project, and its menus to PNG files and
// prints the sizes and fonts it got, for a look at the real thing under an X server:
//   xvfb-run -a build/tests/ui/form1_screenshot docs/window.png docs/menus.png
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "ui/qt/form1.h"
#include "ui/window_services.h"

namespace {

// Chooses the example project without showing a dialog.
class ExampleProject : public tallix::FileDialogs {
public:
    std::string ShowOpenDialog(const tallix::FileDialogRequest&) override {
        return QDir::toNativeSeparators(QStringLiteral(TALLIX_EXAMPLES_DIR "/vb6/Inventory.vbp"))
            .toStdString();
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
    for (const char* name : {"meuFile", "meuOption", "meuSource", "meuHelp"})
        shots << window.findChild<QMenu*>(QString::fromLatin1(name))->grab();
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
    if (argc < 2) {
        std::fprintf(stderr, "usage: form1_screenshot WINDOW.png [MENUS.png]\n");
        return 2;
    }
    tallix::MemorySettingsStore store;
    tallix::UserSettings settings(store, QDir::currentPath().toStdString());
    ExampleProject dialogs;
    PrintedMessages messages;
    NoDesktop desktop;
    tallix::Form1 window(settings, dialogs, messages, desktop);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
    window.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
    QTest::qWait(200);
    Report(window);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) return 1;
    if (argc > 2 && !MenusImage(window).save(QString::fromLocal8Bit(argv[2]))) return 1;
    return 0;
}
