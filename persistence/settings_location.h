#pragma once

#include <string>

namespace tallix {

// The section that holds every setting of the program.
inline constexpr const char* kSettingsSection = "Setting";

// Where Windows keeps an application's settings: the registry key, under HKEY_CURRENT_USER,
// that Visual Basic's SaveSetting used, "Software\VB and VBA Program Settings\<application>",
// so that choices stored by earlier versions of the tool are picked up.
std::string SettingsRegistryKey(const std::string& applicationName);

}  // namespace tallix
