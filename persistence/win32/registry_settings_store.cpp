#include "persistence/win32/registry_settings_store.h"

#include <windows.h>

#include <utility>

#include "engine/text/wide_text.h"
#include "persistence/settings_location.h"

namespace tallix {

RegistrySettingsStore RegistrySettingsStore::ForApplication(const std::string& applicationName) {
    return RegistrySettingsStore(SettingsRegistryKey(applicationName) + "\\" + kSettingsSection);
}

RegistrySettingsStore::RegistrySettingsStore(std::string keyPath) : keyPath_(std::move(keyPath)) {
}

void RegistrySettingsStore::StoreSetting(const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(keyPath_).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring text = Utf8ToWide(value);
    // REG_SZ data is counted in bytes, its terminating NUL included.
    RegSetValueExW(handle, Utf8ToWide(key).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

std::optional<std::string> RegistrySettingsStore::LoadSetting(const std::string& key) const {
    const std::wstring path = Utf8ToWide(keyPath_);
    const std::wstring name = Utf8ToWide(key);
    // RegGetValueW terminates the text even when it was stored without a NUL. The value may
    // grow between asking for its size and reading it, so the read is tried again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                      nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                              text.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.resize(bytes / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        return WideToUtf8(text);
    }
    return std::nullopt;
}

}  // namespace tallix
