#pragma once

#include <QString>

namespace tallix {

// The running program's own name and place; both need the QCoreApplication to exist.

// The executable's base name, "Ordwen": the name the settings are kept under.
QString ApplicationName();

// The folder that holds the executable, with the platform's separators: where the dialogs
// start before any file was chosen.
QString ProgramFolder();

}  // namespace tallix
