#include "ui/qt/desktop.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tallix {

// False on Linux without xdg-open, for one.
bool SystemDesktop::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace tallix
