// On Windows the help file opens in Notepad with the command line "notepad.exe " followed
// by the path, unquoted, as the program has always started it.

#include <QProcess>

#include "ui/desktop.h"

namespace tallix {

bool SystemDesktop::ShowTextFile(const QString& path) {
    QProcess notepad;
    notepad.setProgram(QStringLiteral("notepad.exe"));
    notepad.setNativeArguments(path);
    return notepad.startDetached();
}

}  // namespace tallix
