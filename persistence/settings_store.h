#pragma once

#include <optional>
#include <string>

namespace tallix {

// Per-user settings of one application: UTF-8 strings under section "Setting". Each
// platform's store implements it; UserSettings reads and writes through it.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // An empty value is stored as such; it does not remove the key. Written through at once,
    // so that every choice survives however the program ends.
    virtual void StoreSetting(const std::string& key, const std::string& value) = 0;
    // The stored value, or nullopt when the key is absent (not when it is empty).
    virtual std::optional<std::string> LoadSetting(const std::string& key) const = 0;
};

}  // namespace tallix
