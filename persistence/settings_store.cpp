#include "persistence/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "persistence/settings_location.h"

namespace tallix {

namespace {

QString SectionKey(const QString& key) {
    return QStringLiteral("Setting/") + key;
}

}  // namespace

SettingsStore SettingsStore::ForUser(const QString& applicationName) {
    return SettingsStore(OpenUserSettings(applicationName));
}

SettingsStore SettingsStore::InIniFile(const QString& filePath) {
    return SettingsStore(std::make_unique<QSettings>(filePath, QSettings::IniFormat));
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {
}

SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;
SettingsStore::~SettingsStore() = default;

void SettingsStore::StoreSetting(const QString& key, const QString& value) {
    settings_->setValue(SectionKey(key), value);
    settings_->sync();
}

QString SettingsStore::LoadSetting(const QString& key, const QString& defaultValue) const {
    const QString sectionKey = SectionKey(key);
    if (!settings_->contains(sectionKey)) return defaultValue;
    const QVariant value = settings_->value(sectionKey);
    // An INI line edited by hand to hold an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

}  // namespace tallix
