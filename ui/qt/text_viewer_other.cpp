// Without Notepad, the help file opens in whatever the desktop uses for text files.

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "ui/qt/desktop.h"

namespace tallix {

bool SystemDesktop::ShowTextFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace tallix
