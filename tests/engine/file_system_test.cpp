#include "engine/files/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_dir.h"

namespace tallix {
namespace {

class FileSystem : public ::testing::Test {
protected:
    testing::TempDir dir;
};

TEST_F(FileSystem, ExistenceFindsNormalFilesOnly) {
    dir.Write("p.vbp", "x");
    dir.Write(".hidden.vbp", "x");
    std::filesystem::create_directories(dir.path() / "folder.vbp");
    EXPECT_TRUE(FileExists(dir.Str("p.vbp")));
    EXPECT_FALSE(FileExists(dir.Str(".hidden.vbp")));
    EXPECT_FALSE(FileExists(dir.Str("folder.vbp")));
    EXPECT_FALSE(FileExists(dir.Str()));
    EXPECT_FALSE(FileExists(dir.Str() + "/"));
    EXPECT_FALSE(FileExists(dir.Str("missing.vbp")));
    EXPECT_FALSE(FileExists(""));
    ASSERT_EQ(::mkfifo(dir.Str("pipe.vbp").c_str(), 0600), 0);
    EXPECT_FALSE(FileExists(dir.Str("pipe.vbp")));
    // A NUL ends the name the system sees; the path names no file, not a shorter one.
    EXPECT_FALSE(FileExists(dir.Str("p.vbp") + std::string(1, '\0') + "x"));
    EXPECT_FALSE(FileExists(dir.Str("p.vbp") + std::string(1, '\0')));
    EXPECT_FALSE(FileExists(dir.Str("p*") + std::string(1, '\0')));
    EXPECT_FALSE(FileExists(dir.Str("p.vbp/x")));  // a file is no folder
    EXPECT_FALSE(FileExists("/" + std::string(5000, 'a') + "/p.vbp"));
}

TEST_F(FileSystem, ExistenceMatchesWildcardsInTheLastComponent) {
    dir.Write("sub/Project1.vbp", "x");
    dir.Write("sub/.secret.vbp", "x");
    std::filesystem::create_directories(dir.path() / "sub/dir.vbx");
    EXPECT_TRUE(FileExists(dir.Str("sub/*.vbp")));
    EXPECT_TRUE(FileExists(dir.Str("sub/Project?.vbp")));
    EXPECT_TRUE(FileExists(dir.Str("sub/*")));
    EXPECT_TRUE(FileExists(dir.Str("SUB/project*.VBP")));  // letter case does not matter
    dir.Write("Модули/Файл1.bas", "x");
    EXPECT_TRUE(FileExists(dir.Str("МОДУЛИ/ФАЙЛ?.BAS")));
    EXPECT_TRUE(FileExists(dir.Str("модули/*1.bas")));
    EXPECT_FALSE(FileExists(dir.Str("модули/ФАЙЛ??.bas")));
    EXPECT_FALSE(FileExists(dir.Str("sub/Project??.vbp")));
    EXPECT_FALSE(FileExists(dir.Str("sub/.secret*")));     // hidden files are not found
    EXPECT_FALSE(FileExists(dir.Str("sub/*.vbx")));        // nor folders
    EXPECT_FALSE(FileExists(dir.Str("s*/Project1.vbp")));  // only the last component
    EXPECT_FALSE(FileExists(dir.Str("nowhere/*.vbp")));
}

TEST_F(FileSystem, BracketsAreOrdinaryCharacters) {
    dir.Write("[Include]/a[1].bas", "x");
    EXPECT_TRUE(FileExists(dir.Str("[Include]/a[1].bas")));
    EXPECT_TRUE(FileExists(dir.Str("[Include]/a[?].bas")));
    EXPECT_FALSE(FileExists(dir.Str("[Include]/a[2].bas")));
    EXPECT_FALSE(FileExists(dir.Str("[Include]/a1.bas")));
}

TEST_F(FileSystem, LocateMatchesComponentsIgnoringCase) {
    dir.Write("Forms/Main.frm", "x");
    dir.Write("Mods/Strings.bas", "x");
    dir.Write("Модули/файл.bas", "x");
    dir.Write("Ｗｉｄｅ/Ｆｏｒｍ.frm", "x");
    dir.Write("a.bas", "x");
    const std::string nul(1, '\0');
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"FORMS/main.FRM", "Forms/Main.frm"},
        {"Forms/../mods/STRINGS.bas", "Forms/../Mods/Strings.bas"},
        {"Forms/Main.frm", "Forms/Main.frm"},
        {"МОДУЛИ/ФАЙЛ.BAS", "Модули/файл.bas"},  // beyond ASCII, as Windows
        {"ｗｉｄｅ/ＦＯＲＭ.FRM", "Ｗｉｄｅ/Ｆｏｒｍ.frm"},
        {"Forms", std::nullopt},
        {"Forms/", std::nullopt},
        {"Forms/Other.frm", std::nullopt},
        {"*/Main.frm", std::nullopt},  // no wildcards here
        {"a.bas/x", std::nullopt},     // inner components must be folders
        {"A.BAS/x", std::nullopt},
        {"a.bas/..", std::nullopt},
        {"a.bas" + nul + "IGNORED/../x", std::nullopt},
        {"A.BAS" + nul, std::nullopt},
    };
    FileLocator locator;
    for (const auto& [path, found] : cases) {
        const auto want = found ? std::optional(dir.Str(*found)) : std::nullopt;
        EXPECT_EQ(LocateFile(dir.Str(path)), want) << path;
        EXPECT_EQ(locator.Locate(dir.Str(path)), want) << path;
    }
    EXPECT_EQ(LocateFile("/" + std::string(5000, 'a') + "/a.bas"), std::nullopt);
}

TEST_F(FileSystem, ExactMatchWinsThenTheFirstInByteOrder) {
    dir.Write("a/x.bas", "lower");
    dir.Write("a/X.bas", "upper");
    dir.Write("a/X.BAS", "both");
    // A folder whose name matches does not hide a file further on in byte order.
    std::filesystem::create_directories(dir.path() / "b/M.bas");
    dir.Write("b/m.bas", "file");
    // Nor does a file hide a folder when the path goes on through it.
    dir.Write("c/D", "file");
    dir.Write("c/d/e.bas", "x");
    const std::pair<std::string, std::string> cases[] = {
        {"a/X.bas", "a/X.bas"},
        {"a/x.Bas", "a/X.BAS"},
        {"b/M.BAS", "b/m.bas"},
        {"C/D/E.BAS", "c/d/e.bas"},
    };
    FileLocator locator;
    for (const auto& [path, found] : cases) {
        EXPECT_EQ(LocateFile(dir.Str(path)), dir.Str(found)) << path;
        EXPECT_EQ(locator.Locate(dir.Str(path)), dir.Str(found)) << path;
    }
}

TEST_F(FileSystem, LocatorReadsEachFolderOnce) {
    for (const char* name : {"Forms/Main.frm", "Forms/Other.frm", "Mods/A.bas", "Mods/B.bas"}) {
        dir.Write(name, "x");
    }
    FileLocator locator;
    EXPECT_EQ(locator.Locate(dir.Str("Forms/Main.frm")), dir.Str("Forms/Main.frm"));
    EXPECT_EQ(locator.FoldersRead(), 0u);  // exact names need no listing
    for (const char* name : {"FORMS/main.frm", "forms/OTHER.FRM", "MODS/a.bas", "mods/B.BAS",
                             "Forms/MAIN.frm", "Mods/none.bas", "MODS/NONE.BAS"}) {
        locator.Locate(dir.Str(name));
    }
    EXPECT_EQ(locator.FoldersRead(), 3u);  // the project's folder, Forms and Mods
    EXPECT_EQ(locator.Locate(dir.Str("mods/b.bas")), dir.Str("Mods/B.bas"));
    EXPECT_EQ(locator.Locate(dir.Str("mods/none.bas")), std::nullopt);
}

TEST(Paths, FolderAndMemberAreJoinedAsText) {
    EXPECT_EQ(ProjectFolder("/home/u/proj/p.vbp"), "/home/u/proj/");
    EXPECT_EQ(ProjectFolder("p.vbp"), "");
    EXPECT_EQ(ProjectFolder("/p.vbp"), "/");
    EXPECT_EQ(MemberPath("/home/u/proj/", "..\\[Include]\\a.bas"),
              "/home/u/proj/../[Include]/a.bas");
    EXPECT_EQ(MemberPath("", "Forms\\乗.frm"), "Forms/乗.frm");
    // A name from the root is its own path, in any separator; a leading backslash is not.
    EXPECT_EQ(MemberPath("/p/", "/abs/a.bas"), "/abs/a.bas");
    EXPECT_EQ(MemberPath("/p/", "/abs\\sub\\a.bas"), "/abs/sub/a.bas");
    EXPECT_EQ(MemberPath("/p/", "\\abs\\a.bas"), "/p//abs/a.bas");
    EXPECT_EQ(MemberPath("/p\\q/", "a.bas"), "/p\\q/a.bas");  // only the member is mapped
}

TEST_F(FileSystem, InputFileReportsWhyItCannotRead) {
    EXPECT_EQ(InputFile::Open(dir.Str("none")).Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(dir.Str("none/x")).Problem().error, FileError::Missing);
    const std::string ok = dir.Write("ok.bas", "abc");
    EXPECT_EQ(InputFile::Open(ok + "/x").Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(ok + std::string(1, '\0') + "IGNORED").Problem().error,
              FileError::Missing);
    EXPECT_FALSE(InputFile::Open(ok + std::string(1, '\0')).IsOpen());
    EXPECT_EQ(InputFile::Open(dir.Str()).Problem().error, FileError::NotAFile);
    ASSERT_EQ(::mkfifo(dir.Str("pipe").c_str(), 0600), 0);
    EXPECT_EQ(InputFile::Open(dir.Str("pipe")).Problem().error, FileError::NotAFile);
    const std::string locked = dir.Write("locked.bas", "x");
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) {  // root reads anything
        EXPECT_EQ(InputFile::Open(locked).Problem().error, FileError::Unreadable);
    }
    InputFile file = InputFile::Open(ok);
    ASSERT_TRUE(file.IsOpen());
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.Problem().error, FileError::None);
}

}  // namespace
}  // namespace tallix
