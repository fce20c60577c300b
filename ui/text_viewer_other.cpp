// Without Notepad, the help file opens in whatever the desktop uses for text files.

#include <QDesktopServices>
#include <QUrl>

#include "ui/desktop.h"

namespace tallix {

bool SystemDesktop::ShowTextFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tallix
