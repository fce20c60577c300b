#pragma once

#include <QString>
#include <QUrl>

namespace tallix {

// What the help menu asks of the desktop; tests put a recorder in its place.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Shows a text file without waiting for the viewer: Notepad on Windows, the desktop's
    // viewer for the file elsewhere. False when no viewer could be started.
    virtual bool ShowTextFile(const QString& path) = 0;
    // Opens a web or mailto address with the desktop's program for it. False when no program
    // could be started (on Linux without xdg-open, for one).
    virtual bool OpenUrl(const QUrl& url) = 0;
};

class SystemDesktop : public Desktop {
public:
    bool ShowTextFile(const QString& path) override;
    bool OpenUrl(const QUrl& url) override;
};

// The help file beside the program.
QString HelpFilePath(const QString& programFolder);

// The author's home page and mail address.
QUrl HomePageUrl();
QUrl MailUrl();

}  // namespace tallix
