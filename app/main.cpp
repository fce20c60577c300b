#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/app_info.h"
#include "persistence/qt/qt_settings_store.h"
#include "persistence/user_settings.h"
#include "ui/qt/desktop.h"
#include "ui/qt/file_dialogs.h"
#include "ui/qt/form1.h"
#include "ui/qt/message_sink.h"
#include "version/version.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromStdString(tallix::VersionText()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/ordwen.png")));
    // The interface speaks Chinese whatever the system's language, Qt's own dialog buttons
    // included (when Qt's translations are installed).
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    tallix::QtSettingsStore store = tallix::QtSettingsStore::ForUser(tallix::ApplicationName());
    tallix::UserSettings settings(store, tallix::ProgramFolder().toStdString());
    tallix::QtFileDialogs dialogs;
    tallix::MessageBoxSink messages;
    tallix::SystemDesktop desktop;
    tallix::Form1 window(settings, dialogs, messages, desktop);
    dialogs.SetOwner(&window);
    messages.SetOwner(&window);
    window.show();
    return QApplication::exec();
}
