#include "persistence/user_settings.h"

#include <QtGlobal>
#include <array>

#include "persistence/setting_values.h"
#include "persistence/settings_store.h"

namespace tallix {

namespace {

const QString kInitDir = QStringLiteral("Init_Dir");
const QString kSourceProj = QStringLiteral("SourceProj");
const QString kBlankLine = QStringLiteral("BlankLine");
const QString kRemarkLine = QStringLiteral("RemarkLine");

bool IsKnownKey(const QString& key) {
    const std::array known{&kInitDir, &kSourceProj, &kBlankLine, &kRemarkLine};
    for (const QString* name : known)
        if (*name == key) return true;
    return false;
}

}  // namespace

UserSettings::UserSettings(SettingsStore& store, QString programFolder)
    : store_(store), programFolder_(std::move(programFolder)) {
}

QString UserSettings::InitDir() const {
    return store_.LoadSetting(kInitDir, programFolder_);
}

void UserSettings::StoreInitDir(const QString& path) {
    store_.StoreSetting(kInitDir, path);
}

SourceKind UserSettings::ProjectKind() const {
    return LeadingNumber(store_.LoadSetting(kSourceProj, QString())) != 0.0 ? SourceKind::VbNet
                                                                            : SourceKind::Vb6;
}

void UserSettings::StoreProjectKind(SourceKind kind) {
    store_.StoreSetting(kSourceProj,
                        kind == SourceKind::Vb6 ? QStringLiteral("0") : QStringLiteral("1"));
}

bool UserSettings::SkipBlankLines() const {
    return SettingToBool(store_.LoadSetting(kBlankLine, BoolToSetting(false)));
}

void UserSettings::StoreSkipBlankLines(bool skip) {
    store_.StoreSetting(kBlankLine, BoolToSetting(skip));
}

bool UserSettings::SkipCommentLines() const {
    return SettingToBool(store_.LoadSetting(kRemarkLine, BoolToSetting(false)));
}

void UserSettings::StoreSkipCommentLines(bool skip) {
    store_.StoreSetting(kRemarkLine, BoolToSetting(skip));
}

bool UserSettings::StoreByKey(const QString& key, const QString& value) {
    if (!IsKnownKey(key)) {
        qWarning("Setting \"%s\" is not one of the program's settings", qPrintable(key));
        return false;
    }
    store_.StoreSetting(key, value);
    return true;
}

}  // namespace tallix
