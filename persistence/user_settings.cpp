#include "persistence/user_settings.h"

#include <array>
#include <string_view>

#include "persistence/setting_values.h"
#include "persistence/settings_store.h"

namespace tallix {

namespace {

constexpr const char* kInitDir = "Init_Dir";
constexpr const char* kSourceProj = "SourceProj";
constexpr const char* kBlankLine = "BlankLine";
constexpr const char* kRemarkLine = "RemarkLine";

bool IsKnownKey(std::string_view key) {
    const std::array<std::string_view, 4> known{kInitDir, kSourceProj, kBlankLine, kRemarkLine};
    for (const std::string_view name : known) {
        if (name == key) {
            return true;
        }
    }
    return false;
}

}  // namespace

UserSettings::UserSettings(SettingsStore& store, std::string programFolder)
    : store_(store), programFolder_(std::move(programFolder)) {
}

std::string UserSettings::InitDir() const {
    return store_.LoadSetting(kInitDir).value_or(programFolder_);
}

void UserSettings::StoreInitDir(const std::string& path) {
    store_.StoreSetting(kInitDir, path);
}

SourceKind UserSettings::ProjectKind() const {
    return LeadingNumber(store_.LoadSetting(kSourceProj).value_or("")) != 0.0 ? SourceKind::VbNet
                                                                              : SourceKind::Vb6;
}

void UserSettings::StoreProjectKind(SourceKind kind) {
    store_.StoreSetting(kSourceProj, kind == SourceKind::Vb6 ? "0" : "1");
}

bool UserSettings::SkipBlankLines() const {
    return SettingToBool(store_.LoadSetting(kBlankLine).value_or(BoolToSetting(false)));
}

void UserSettings::StoreSkipBlankLines(bool skip) {
    store_.StoreSetting(kBlankLine, BoolToSetting(skip));
}

bool UserSettings::SkipCommentLines() const {
    return SettingToBool(store_.LoadSetting(kRemarkLine).value_or(BoolToSetting(false)));
}

void UserSettings::StoreSkipCommentLines(bool skip) {
    store_.StoreSetting(kRemarkLine, BoolToSetting(skip));
}

bool UserSettings::StoreByKey(const std::string& key, const std::string& value) {
    if (!IsKnownKey(key)) {
        return false;
    }
    store_.StoreSetting(key, value);
    return true;
}

}  // namespace tallix
