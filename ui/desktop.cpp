#include "ui/desktop.h"

#include <QDesktopServices>
#include <QDir>

namespace tallix {

bool SystemDesktop::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString HelpFilePath(const QString& programFolder) {
    return programFolder + QDir::separator() + QStringLiteral("readme.txt");
}

QUrl HomePageUrl() {
    return QUrl(QStringLiteral("http://www.example.com/soft"));
}

QUrl MailUrl() {
    return QUrl(QStringLiteral("mailto:tallix@example.com"));
}

}  // namespace tallix
