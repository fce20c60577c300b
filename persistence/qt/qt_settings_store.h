#pragma once

#include <QString>
#include <memory>

#include "persistence/settings_store.h"

class QSettings;

namespace tallix {

// The settings store of the Qt window, over QSettings: on Windows the registry key of
// SettingsRegistryKey(), elsewhere the INI file UserSettingsFile() names.
class QtSettingsStore final : public SettingsStore {
public:
    // The current user's store for the application (the executable's base name).
    static QtSettingsStore ForUser(const QString& applicationName);
    // A store kept in the given INI file, for tests and for running with other settings.
    static QtSettingsStore InIniFile(const QString& filePath);

    QtSettingsStore(QtSettingsStore&&) noexcept;
    QtSettingsStore& operator=(QtSettingsStore&&) noexcept;
    ~QtSettingsStore() override;

    void StoreSetting(const std::string& key, const std::string& value) override;
    std::optional<std::string> LoadSetting(const std::string& key) const override;

private:
    explicit QtSettingsStore(std::unique_ptr<QSettings> settings);

    std::unique_ptr<QSettings> settings_;
};

// "<application>.ini" in the user's configuration folder (XDG_CONFIG_HOME, ~/.config).
QString UserSettingsFile(const QString& applicationName);

}  // namespace tallix
