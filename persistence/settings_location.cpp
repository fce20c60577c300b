#include "persistence/settings_location.h"

namespace tallix {

std::string SettingsRegistryKey(const std::string& applicationName) {
    return "Software\\VB and VBA Program Settings\\" + applicationName;
}

}  // namespace tallix
