#pragma once

#include <QString>

namespace tallix {

// The file dialogs' text rules, kept free of any widget so they can be checked on their own.

// The one filter a dialog offers: the name with the pattern in brackets, "Log文件(*.LOG)".
QString DialogFilter(const QString& filterName, const QString& pattern);

// The folder a dialog opens in. The remembered setting holds a file path, so a path that is
// not a folder starts in the folder holding it; "" leaves the choice to the dialog.
QString StartingFolder(const QString& initDir);

// The report path a save dialog returns: the file's own name in upper case, with the
// pattern's extension (from its first ".", upper case) appended when the path has no "." or
// its tail from the last "." differs from the extension. The folders keep their case: on a
// case-sensitive file system, upper-case folders would name folders that do not exist.
QString NormaliseSavePath(const QString& path, const QString& pattern);

}  // namespace tallix
