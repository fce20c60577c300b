#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace tallix {

// Per-user settings of one application: strings under section "Setting", written through at
// once so that every choice survives however the program ends.
class SettingsStore {
public:
    // The current user's store for the application (the executable's base name).
    static SettingsStore ForUser(const QString& applicationName);
    // A store kept in the given INI file, for tests and for running with other settings.
    static SettingsStore InIniFile(const QString& filePath);

    SettingsStore(SettingsStore&&) noexcept;
    SettingsStore& operator=(SettingsStore&&) noexcept;
    ~SettingsStore();

    // An empty value is stored as such; it does not remove the key.
    void StoreSetting(const QString& key, const QString& value);
    // The stored value, or defaultValue when the key is absent (not when it is empty).
    QString LoadSetting(const QString& key, const QString& defaultValue) const;

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);

    std::unique_ptr<QSettings> settings_;
};

}  // namespace tallix
