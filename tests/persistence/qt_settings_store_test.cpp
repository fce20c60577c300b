#include "persistence/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace tallix {
namespace {

// Every test keeps its settings in a fresh folder, never in the user's own.
class QtSettingsStoreTest : public ::testing::Test {
protected:
    QString IniPath() const { return folder_.filePath(QStringLiteral("Ordwen.ini")); }

    QByteArray IniBytes() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WriteIni(const QByteArray& bytes) const {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder_;
};

TEST_F(QtSettingsStoreTest, AbsentIsNotEmpty) {
    QtSettingsStore store = QtSettingsStore::InIniFile(IniPath());
    EXPECT_EQ(store.LoadSetting("Init_Dir"), std::nullopt);
    store.StoreSetting("Init_Dir", "/a/b.vbp");
    store.StoreSetting("Init_Dir", "");
    EXPECT_EQ(store.LoadSetting("Init_Dir"), std::optional<std::string>(""));
    EXPECT_EQ(QtSettingsStore::InIniFile(IniPath()).LoadSetting("Init_Dir"),
              std::optional<std::string>(""));
}

TEST_F(QtSettingsStoreTest, ValuesAreOnDiskAsSoonAsStored) {
    QtSettingsStore store = QtSettingsStore::InIniFile(IniPath());
    const std::string path = "C:\\工程\\a,b;c\\项目.vbp";
    store.StoreSetting("Init_Dir", path);
    store.StoreSetting("BlankLine", "True");
    // A second store stands for the next run of the program.
    const QtSettingsStore nextRun = QtSettingsStore::InIniFile(IniPath());
    EXPECT_EQ(nextRun.LoadSetting("Init_Dir"), path);
    EXPECT_EQ(nextRun.LoadSetting("BlankLine"), "True");
    EXPECT_TRUE(IniBytes().contains("[Setting]"));
}

TEST_F(QtSettingsStoreTest, ReadsAFileEditedByHand) {
    WriteIni("[Setting]\nInit_Dir=/home/u/a,b.vbp\nBlankLine=true\nSourceProj=\n");
    const QtSettingsStore store = QtSettingsStore::InIniFile(IniPath());
    EXPECT_EQ(store.LoadSetting("Init_Dir"), "/home/u/a,b.vbp");
    EXPECT_EQ(store.LoadSetting("BlankLine"), "true");
    EXPECT_EQ(store.LoadSetting("SourceProj"), "");
    // Keys outside the section are not the program's.
    EXPECT_EQ(store.LoadSetting("General"), std::nullopt);
}

#ifndef _WIN32
TEST_F(QtSettingsStoreTest, UserStoreIsAnIniFileNamedAfterTheApplication) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
    EXPECT_EQ(UserSettingsFile(QStringLiteral("Ordwen")), IniPath());
    QtSettingsStore::ForUser(QStringLiteral("Ordwen")).StoreSetting("SourceProj", "1");
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_TRUE(IniBytes().contains("[Setting]\nSourceProj=1"));
}
#endif

}  // namespace
}  // namespace tallix
