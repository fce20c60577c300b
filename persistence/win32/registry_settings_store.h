#pragma once

#include <string>

#include "persistence/settings_store.h"

namespace tallix {

// Settings kept as REG_SZ values of one key under HKEY_CURRENT_USER, where Windows programs
// of this tool's lineage have always kept theirs. Windows only.
class RegistrySettingsStore final : public SettingsStore {
public:
    // The store of an application: HKCU\Software\VB and VBA Program Settings\<name>\Setting.
    static RegistrySettingsStore ForApplication(const std::string& applicationName);

    // A store in the given key below HKEY_CURRENT_USER (UTF-8, backslashes between names),
    // created when the first value is written.
    explicit RegistrySettingsStore(std::string keyPath);

    const std::string& KeyPath() const { return keyPath_; }

    // A failed write is dropped: a setting that cannot be kept must not stop the window.
    void StoreSetting(const std::string& key, const std::string& value) override;
    // A value of another type than text reads as absent.
    std::optional<std::string> LoadSetting(const std::string& key) const override;

private:
    std::string keyPath_;
};

}  // namespace tallix
