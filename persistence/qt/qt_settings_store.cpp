#include "persistence/qt/qt_settings_store.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include "persistence/settings_location.h"

namespace tallix {

namespace {

QString SectionKey(const std::string& key) {
    return QString::fromUtf8(kSettingsSection) + u'/' + QString::fromStdString(key);
}

}  // namespace

QtSettingsStore QtSettingsStore::ForUser(const QString& applicationName) {
#ifdef _WIN32
    const std::string key =
        "HKEY_CURRENT_USER\\" + SettingsRegistryKey(applicationName.toStdString());
    return QtSettingsStore(
        std::make_unique<QSettings>(QString::fromStdString(key), QSettings::NativeFormat));
#else
    return InIniFile(UserSettingsFile(applicationName));
#endif
}

QtSettingsStore QtSettingsStore::InIniFile(const QString& filePath) {
    return QtSettingsStore(std::make_unique<QSettings>(filePath, QSettings::IniFormat));
}

QtSettingsStore::QtSettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {
}

QtSettingsStore::QtSettingsStore(QtSettingsStore&&) noexcept = default;
QtSettingsStore& QtSettingsStore::operator=(QtSettingsStore&&) noexcept = default;
QtSettingsStore::~QtSettingsStore() = default;

void QtSettingsStore::StoreSetting(const std::string& key, const std::string& value) {
    settings_->setValue(SectionKey(key), QString::fromStdString(value));
    settings_->sync();
}

std::optional<std::string> QtSettingsStore::LoadSetting(const std::string& key) const {
    const QString sectionKey = SectionKey(key);
    if (!settings_->contains(sectionKey)) {
        return std::nullopt;
    }
    const QVariant value = settings_->value(sectionKey);
    // An INI line edited by hand to hold an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(u',').toStdString();
    }
    return value.toString().toStdString();
}

QString UserSettingsFile(const QString& applicationName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           applicationName + QStringLiteral(".ini");
}

}  // namespace tallix
