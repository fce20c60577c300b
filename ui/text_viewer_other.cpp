// Without Notepad, the help file opens in whatever the desktop uses for text files.

#include <QDesktopServices>
#include <QUrl>

#include "ui/desktop.h"

namespace tallix {

void SystemDesktop::ShowTextFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tallix
