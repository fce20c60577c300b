// The registry store under Wine's (or Windows') HKEY_CURRENT_USER, in a key of the test's own
// that is removed again afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/text/wide_text.h"
#include "persistence/win32/registry_settings_store.h"

namespace tallix {
namespace {

class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    static constexpr const char* kRoot = "Software\\TallixTest";

    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(kRoot).c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(kRoot).c_str()); }

    // Writes a value behind the store's back, with any type and bytes.
    void WriteRaw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(store_.KeyPath()).c_str(), 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, Utf8ToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                       bytes);
        RegCloseKey(key);
    }

    DWORD StoredType(const std::string& name) {
        DWORD type = REG_NONE;
        RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(store_.KeyPath()).c_str(),
                     Utf8ToWide(name).c_str(), RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }

    RegistrySettingsStore store_{std::string(kRoot) + "\\Ordwen\\Setting"};
};

TEST_F(RegistrySettingsStoreTest, ApplicationsKeepTheirSettingsUnderTheVbKey) {
    EXPECT_EQ(RegistrySettingsStore::ForApplication("Ordwen").KeyPath(),
              "Software\\VB and VBA Program Settings\\Ordwen\\Setting");
}

TEST_F(RegistrySettingsStoreTest, ValuesComeBackAsTextAndEmptyIsNotAbsent) {
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), std::nullopt) << "no key at all yet";
    store_.StoreSetting("SourceProj", "1");
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), std::nullopt) << "key made, value still absent";

    const std::string path = "C:\\工程 目录\\报告.LOG";
    store_.StoreSetting("Init_Dir", path);
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), path);
    EXPECT_EQ(StoredType("Init_Dir"), static_cast<DWORD>(REG_SZ));

    store_.StoreSetting("Init_Dir", "");
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), std::string()) << "empty, not deleted";
    EXPECT_EQ(store_.LoadSetting("init_dir"), std::string())
        << "the registry matches names in any letter case";
    EXPECT_EQ(store_.LoadSetting("SourceProj"), "1");
}

TEST_F(RegistrySettingsStoreTest, HandEditedValuesReadSafely) {
    const wchar_t unterminated[] = {L'T', L'r', L'u', L'e'};
    WriteRaw("BlankLine", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(store_.LoadSetting("BlankLine"), "True");

    const DWORD number = 1;
    WriteRaw("RemarkLine", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store_.LoadSetting("RemarkLine"), std::nullopt) << "not text: as if absent";

    const std::wstring longText(5000, L'x');
    WriteRaw("Init_Dir", REG_SZ, longText.c_str(),
             static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), std::string(5000, 'x'));
}

}  // namespace
}  // namespace tallix
