#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace tallix {

// Where the current user's settings live. On Windows: the registry key that Visual Basic's
// SaveSetting used, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>,
// so that choices stored by earlier versions of the tool are picked up. Elsewhere: the INI
// file UserSettingsFile() names.
std::unique_ptr<QSettings> OpenUserSettings(const QString& applicationName);

// "<application>.ini" in the user's configuration folder (XDG_CONFIG_HOME, ~/.config).
QString UserSettingsFile(const QString& applicationName);

}  // namespace tallix
