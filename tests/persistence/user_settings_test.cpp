#include "persistence/user_settings.h"

#include <gtest/gtest.h>

#include "persistence/memory_settings_store.h"
#include "persistence/settings_location.h"

namespace tallix {
namespace {

class UserSettingsTest : public ::testing::Test {
protected:
    std::string Stored(const char* key) const {
        return store_.LoadSetting(key).value_or("<absent>");
    }

    MemorySettingsStore store_;
    UserSettings settings_{store_, "/opt/ordwen"};
};

TEST_F(UserSettingsTest, FirstRunDefaults) {
    EXPECT_EQ(settings_.InitDir(), "/opt/ordwen");
    EXPECT_EQ(settings_.ProjectKind(), SourceKind::Vb6);
    EXPECT_FALSE(settings_.SkipBlankLines());
    EXPECT_FALSE(settings_.SkipCommentLines());
    for (const char* key : {"Init_Dir", "SourceProj", "BlankLine", "RemarkLine"}) {
        EXPECT_EQ(Stored(key), "<absent>") << key << ": reading must not write";
    }
}

TEST_F(UserSettingsTest, WritesTheStoredForms) {
    settings_.StoreProjectKind(SourceKind::VbNet);
    EXPECT_EQ(Stored("SourceProj"), "1");
    settings_.StoreProjectKind(SourceKind::Vb6);
    EXPECT_EQ(Stored("SourceProj"), "0");
    settings_.StoreSkipBlankLines(true);
    EXPECT_EQ(Stored("BlankLine"), "True");
    EXPECT_EQ(Stored("RemarkLine"), "<absent>");
    settings_.StoreSkipCommentLines(false);
    EXPECT_EQ(Stored("RemarkLine"), "False");
    settings_.StoreInitDir("");
    EXPECT_EQ(settings_.InitDir(), "") << "an empty Init_Dir is not the default";
}

TEST_F(UserSettingsTest, ReadsWhatEarlierVersionsAndHandsWrote) {
    store_.StoreSetting("SourceProj", "-0.5");
    store_.StoreSetting("BlankLine", "TRUE");
    store_.StoreSetting("RemarkLine", "junk");
    EXPECT_EQ(settings_.ProjectKind(), SourceKind::VbNet);
    EXPECT_TRUE(settings_.SkipBlankLines());
    EXPECT_FALSE(settings_.SkipCommentLines());
    store_.StoreSetting("SourceProj", "");
    EXPECT_EQ(settings_.ProjectKind(), SourceKind::Vb6);
}

TEST_F(UserSettingsTest, StoredTabIsKeptAndIsNoSpace) {
    // Only spaces are trimmed, so "1\t" is no number as a whole: the option reads as off,
    // while the project kind takes the number at the start.
    ASSERT_TRUE(settings_.StoreByKey("BlankLine", "1\t"));
    ASSERT_TRUE(settings_.StoreByKey("RemarkLine", " 1 "));
    ASSERT_TRUE(settings_.StoreByKey("SourceProj", "1\t"));
    EXPECT_EQ(Stored("BlankLine"), "1\t");
    EXPECT_FALSE(settings_.SkipBlankLines());
    EXPECT_TRUE(settings_.SkipCommentLines());
    EXPECT_EQ(settings_.ProjectKind(), SourceKind::VbNet);
}

TEST_F(UserSettingsTest, StoresByKeyOnlyTheProgramsKeys) {
    EXPECT_TRUE(settings_.StoreByKey("Init_Dir", "/p/x.vbp"));
    EXPECT_EQ(settings_.InitDir(), "/p/x.vbp");
    EXPECT_FALSE(settings_.StoreByKey("init_dir", "/q"));
    EXPECT_FALSE(settings_.StoreByKey("Setting/Init_Dir", "/q"));
    EXPECT_EQ(Stored("init_dir"), "<absent>");
    EXPECT_EQ(settings_.InitDir(), "/p/x.vbp");
}

TEST(SettingsRegistryKeyTest, IsTheKeyVisualBasicUsed) {
    EXPECT_EQ(SettingsRegistryKey("Ordwen"), "Software\\VB and VBA Program Settings\\Ordwen");
}

}  // namespace
}  // namespace tallix
