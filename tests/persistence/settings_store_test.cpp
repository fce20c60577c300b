#include "persistence/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "persistence/qt_test_printing.h"
#include "persistence/settings_location.h"
#include "persistence/user_settings.h"

namespace tallix {
namespace {

// Every test keeps its settings in a fresh folder, never in the user's own.
class SettingsStoreTest : public ::testing::Test {
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

TEST_F(SettingsStoreTest, AbsentKeyGivesTheDefault) {
    const SettingsStore store = SettingsStore::InIniFile(IniPath());
    EXPECT_EQ(store.LoadSetting(QStringLiteral("SourceProj"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
}

TEST_F(SettingsStoreTest, EmptyValueIsKeptNotDeleted) {
    SettingsStore store = SettingsStore::InIniFile(IniPath());
    store.StoreSetting(QStringLiteral("Init_Dir"), QStringLiteral("/a/b.vbp"));
    store.StoreSetting(QStringLiteral("Init_Dir"), QString());
    EXPECT_EQ(store.LoadSetting(QStringLiteral("Init_Dir"), QStringLiteral("dflt")), QString());
    EXPECT_TRUE(SettingsStore::InIniFile(IniPath())
                    .LoadSetting(QStringLiteral("Init_Dir"), QStringLiteral("dflt"))
                    .isEmpty());
}

TEST_F(SettingsStoreTest, ValuesAreOnDiskAsSoonAsStored) {
    SettingsStore store = SettingsStore::InIniFile(IniPath());
    const QString path = QStringLiteral("C:\\工程\\a,b;c\\项目.vbp");
    store.StoreSetting(QStringLiteral("Init_Dir"), path);
    store.StoreSetting(QStringLiteral("BlankLine"), QStringLiteral("True"));
    // A second store stands for the next run of the program.
    const SettingsStore nextRun = SettingsStore::InIniFile(IniPath());
    EXPECT_EQ(nextRun.LoadSetting(QStringLiteral("Init_Dir"), QString()), path);
    EXPECT_EQ(nextRun.LoadSetting(QStringLiteral("BlankLine"), QString()), QStringLiteral("True"));
    EXPECT_TRUE(IniBytes().contains("[Setting]"));
}

// What another process reads from the settings file, one value for each key; "<absent>"
// for a key the file lacks.
QStringList ReadInAnotherProcess(const QString& iniPath, const QStringList& keys) {
    QProcess reader;
    reader.start(QStringLiteral(TALLIX_SETTINGS_READER), QStringList{iniPath} + keys);
    if (!reader.waitForFinished(30000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0)
        return {QStringLiteral("<reader failed>")};
    QStringList values = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n');
    values.removeLast();  // after the last line end
    return values;
}

TEST_F(SettingsStoreTest, AnotherProcessReadsEachValueAsSoonAsItIsStored) {
    // The store stays open throughout, so nothing but StoreSetting itself puts values on disk.
    SettingsStore store = SettingsStore::InIniFile(IniPath());
    const QStringList keys{QStringLiteral("Init_Dir"), QStringLiteral("BlankLine")};
    const QString path = QStringLiteral("/home/u/工程 a,b;c/项目.vbp");
    store.StoreSetting(QStringLiteral("Init_Dir"), path);
    EXPECT_EQ(ReadInAnotherProcess(IniPath(), keys),
              (QStringList{path, QStringLiteral("<absent>")}));
    store.StoreSetting(QStringLiteral("BlankLine"), QStringLiteral("True"));
    store.StoreSetting(QStringLiteral("Init_Dir"), QString());
    EXPECT_EQ(ReadInAnotherProcess(IniPath(), keys),
              (QStringList{QString(), QStringLiteral("True")}));
}

TEST_F(SettingsStoreTest, ReadsAFileEditedByHand) {
    // The INI reader drops white space around a value as written, tab included.
    WriteIni("[Setting]\nInit_Dir=/home/u/a,b.vbp\nBlankLine=true\nSourceProj=\nRemarkLine=1\t\n");
    const SettingsStore store = SettingsStore::InIniFile(IniPath());
    EXPECT_EQ(store.LoadSetting(QStringLiteral("Init_Dir"), QString()),
              QStringLiteral("/home/u/a,b.vbp"));
    EXPECT_EQ(store.LoadSetting(QStringLiteral("BlankLine"), QString()), QStringLiteral("true"));
    EXPECT_EQ(store.LoadSetting(QStringLiteral("RemarkLine"), QString()), QStringLiteral("1"));
    EXPECT_EQ(store.LoadSetting(QStringLiteral("SourceProj"), QStringLiteral("dflt")), QString());
    // Keys outside the section are not the program's.
    EXPECT_EQ(store.LoadSetting(QStringLiteral("General"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
}

#ifndef _WIN32
TEST_F(SettingsStoreTest, UserStoreIsAnIniFileNamedAfterTheApplication) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
    EXPECT_EQ(UserSettingsFile(QStringLiteral("Ordwen")), IniPath());
    SettingsStore::ForUser(QStringLiteral("Ordwen"))
        .StoreSetting(QStringLiteral("SourceProj"), QStringLiteral("1"));
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_TRUE(IniBytes().contains("[Setting]\nSourceProj=1"));
}
#endif

class UserSettingsTest : public SettingsStoreTest {
protected:
    SettingsStore store_ = SettingsStore::InIniFile(IniPath());
    UserSettings settings_{store_, QStringLiteral("/opt/ordwen")};

    QString Stored(const char* key) {
        return store_.LoadSetting(QString::fromLatin1(key), QStringLiteral("<absent>"));
    }
};

TEST_F(UserSettingsTest, FirstRunDefaults) {
    EXPECT_EQ(settings_.InitDir(), QStringLiteral("/opt/ordwen"));
    EXPECT_EQ(settings_.ProjectKind(), SourceKind::Vb6);
    EXPECT_FALSE(settings_.SkipBlankLines());
    EXPECT_FALSE(settings_.SkipCommentLines());
    EXPECT_TRUE(IniBytes().isEmpty()) << "reading must not write";
}

TEST_F(UserSettingsTest, WritesTheStoredForms) {
    settings_.StoreProjectKind(SourceKind::VbNet);
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("1"));
    settings_.StoreProjectKind(SourceKind::Vb6);
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("0"));
    settings_.StoreSkipBlankLines(true);
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("True"));
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("<absent>"));
    settings_.StoreSkipCommentLines(false);
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("False"));
    settings_.StoreInitDir(QString());
    EXPECT_EQ(settings_.InitDir(), QString()) << "an empty Init_Dir is not the default";
}

TEST_F(UserSettingsTest, StoredTabIsKeptAndIsNoSpace) {
    // Only spaces are trimmed, so "1\t" is no number as a whole: the option reads as off,
    // while the project kind takes the number at the start.
    ASSERT_TRUE(settings_.StoreByKey(QStringLiteral("BlankLine"), QStringLiteral("1\t")));
    ASSERT_TRUE(settings_.StoreByKey(QStringLiteral("RemarkLine"), QStringLiteral(" 1 ")));
    ASSERT_TRUE(settings_.StoreByKey(QStringLiteral("SourceProj"), QStringLiteral("1\t")));
    SettingsStore nextRunStore = SettingsStore::InIniFile(IniPath());
    const UserSettings nextRun{nextRunStore, QString()};
    EXPECT_EQ(nextRunStore.LoadSetting(QStringLiteral("BlankLine"), QString()),
              QStringLiteral("1\t"));
    EXPECT_FALSE(nextRun.SkipBlankLines());
    EXPECT_TRUE(nextRun.SkipCommentLines());
    EXPECT_EQ(nextRun.ProjectKind(), SourceKind::VbNet);
}

TEST_F(UserSettingsTest, StoresByKeyOnlyTheProgramsKeys) {
    EXPECT_TRUE(settings_.StoreByKey(QStringLiteral("Init_Dir"), QStringLiteral("/p/x.vbp")));
    EXPECT_EQ(settings_.InitDir(), QStringLiteral("/p/x.vbp"));
    EXPECT_FALSE(settings_.StoreByKey(QStringLiteral("init_dir"), QStringLiteral("/q")));
    EXPECT_FALSE(settings_.StoreByKey(QStringLiteral("Setting/Init_Dir"), QStringLiteral("/q")));
    EXPECT_EQ(Stored("init_dir"), QStringLiteral("<absent>"));
    EXPECT_EQ(settings_.InitDir(), QStringLiteral("/p/x.vbp"));
}

}  // namespace
}  // namespace tallix
