#include "engine/file_system.h"

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
}

TEST_F(FileSystem, ExistenceMatchesWildcardsInTheLastComponent) {
    dir.Write("sub/Project1.vbp", "x");
    dir.Write("sub/.secret.vbp", "x");
    std::filesystem::create_directories(dir.path() / "sub/dir.vbx");
    EXPECT_TRUE(FileExists(dir.Str("sub/*.vbp")));
    EXPECT_TRUE(FileExists(dir.Str("sub/Project?.vbp")));
    EXPECT_TRUE(FileExists(dir.Str("sub/*")));
    EXPECT_TRUE(FileExists(dir.Str("SUB/project*.VBP")));  // letter case does not matter
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
    EXPECT_EQ(LocateFile(dir.Str("FORMS/main.FRM")), dir.Str("Forms/Main.frm"));
    EXPECT_EQ(LocateFile(dir.Str("Forms/../mods/STRINGS.bas")),
              dir.Str("Forms/../Mods/Strings.bas"));
    EXPECT_EQ(LocateFile(dir.Str("Forms/Main.frm")), dir.Str("Forms/Main.frm"));
    EXPECT_EQ(LocateFile(dir.Str("Forms")), std::nullopt);
    EXPECT_EQ(LocateFile(dir.Str("Forms/Other.frm")), std::nullopt);
    EXPECT_EQ(LocateFile(dir.Str("*/Main.frm")), std::nullopt);  // no wildcards here
}

TEST_F(FileSystem, ExactMatchWinsThenTheFirstInByteOrder) {
    dir.Write("a/x.bas", "lower");
    dir.Write("a/X.bas", "upper");
    dir.Write("a/X.BAS", "both");
    EXPECT_EQ(LocateFile(dir.Str("a/X.bas")), dir.Str("a/X.bas"));
    EXPECT_EQ(LocateFile(dir.Str("a/x.Bas")), dir.Str("a/X.BAS"));
    // A folder whose name matches does not hide a file further on in byte order.
    std::filesystem::create_directories(dir.path() / "b/M.bas");
    dir.Write("b/m.bas", "file");
    EXPECT_EQ(LocateFile(dir.Str("b/M.BAS")), dir.Str("b/m.bas"));
}

TEST(Paths, FolderAndMemberAreJoinedAsText) {
    EXPECT_EQ(ProjectFolder("/home/u/proj/p.vbp"), "/home/u/proj/");
    EXPECT_EQ(ProjectFolder("p.vbp"), "");
    EXPECT_EQ(ProjectFolder("/p.vbp"), "/");
    EXPECT_EQ(MemberPath("/home/u/proj/", "..\\[Include]\\a.bas"),
              "/home/u/proj/../[Include]/a.bas");
    EXPECT_EQ(MemberPath("", "Forms\\乗.frm"), "Forms/乗.frm");
    EXPECT_EQ(MemberPath("/p/", "/abs/a.bas"), "/p//abs/a.bas");
    EXPECT_EQ(MemberPath("/p\\q/", "a.bas"), "/p\\q/a.bas");  // only the member is mapped
}

TEST_F(FileSystem, InputFileReportsWhyItCannotRead) {
    EXPECT_EQ(InputFile::Open(dir.Str("none")).Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(dir.Str("none/x")).Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(dir.Str()).Problem().error, FileError::NotAFile);
    ASSERT_EQ(::mkfifo(dir.Str("pipe").c_str(), 0600), 0);
    EXPECT_EQ(InputFile::Open(dir.Str("pipe")).Problem().error, FileError::NotAFile);
    const std::string locked = dir.Write("locked.bas", "x");
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) {  // root reads anything
        EXPECT_EQ(InputFile::Open(locked).Problem().error, FileError::Unreadable);
    }
    InputFile file = InputFile::Open(dir.Write("ok.bas", "abc"));
    ASSERT_TRUE(file.IsOpen());
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.Problem().error, FileError::None);
}

}  // namespace
}  // namespace tallix
