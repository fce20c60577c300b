#include "persistence/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
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

// What another process reads from the settings file, one value for each key; "<absent>"
// for a key the file lacks.
QStringList ReadInAnotherProcess(const QString& iniPath, const QStringList& keys) {
    QProcess reader;
    reader.start(QStringLiteral(TALLIX_SETTINGS_READER), QStringList{iniPath} + keys);
    if (!reader.waitForFinished(30000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        return {QStringLiteral("<reader failed>")};
    }
    QStringList values = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n');
    values.removeLast();  // after the last line end
    return values;
}

TEST_F(QtSettingsStoreTest, AnotherProcessReadsEachValueAsSoonAsItIsStored) {
    // The store stays open throughout, so nothing but StoreSetting itself puts values on disk.
    QtSettingsStore store = QtSettingsStore::InIniFile(IniPath());
    const QStringList keys{QStringLiteral("Init_Dir"), QStringLiteral("BlankLine")};
    const std::string path = "/home/u/工程 a,b;c/项目.vbp";
    store.StoreSetting("Init_Dir", path);
    EXPECT_EQ(ReadInAnotherProcess(IniPath(), keys),
              (QStringList{QString::fromStdString(path), QStringLiteral("<absent>")}));
    store.StoreSetting("BlankLine", "True");
    store.StoreSetting("Init_Dir", "");
    EXPECT_EQ(ReadInAnotherProcess(IniPath(), keys),
              (QStringList{QString(), QStringLiteral("True")}));
}

TEST_F(QtSettingsStoreTest, ReadsAFileEditedByHand) {
    // The INI reader drops white space around a value as written, tab included.
    WriteIni("[Setting]\nInit_Dir=/home/u/a,b.vbp\nBlankLine=true\nSourceProj=\nRemarkLine=1\t\n");
    const QtSettingsStore store = QtSettingsStore::InIniFile(IniPath());
    EXPECT_EQ(store.LoadSetting("Init_Dir"), "/home/u/a,b.vbp");
    EXPECT_EQ(store.LoadSetting("BlankLine"), "true");
    EXPECT_EQ(store.LoadSetting("SourceProj"), "");
    EXPECT_EQ(store.LoadSetting("RemarkLine"), "1");
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
