#include "persistence/settings_location.h"

#include <QSettings>
#include <QStandardPaths>

namespace tallix {

QString UserSettingsFile(const QString& applicationName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           applicationName + QStringLiteral(".ini");
}

std::unique_ptr<QSettings> OpenUserSettings(const QString& applicationName) {
#ifdef _WIN32
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
            applicationName,
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(UserSettingsFile(applicationName), QSettings::IniFormat);
#endif
}

}  // namespace tallix
