// The Windows look-up: attributes instead of leading dots, FindFirstFileW's wildcards and
// letter case, backslash folders, and Chinese names through the wide-character API.

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/counting/line_counter.h"
#include "engine/files/file_system.h"
#include "engine/text/wide_text.h"
#include "temp_dir.h"

namespace tallix {
namespace {

class WindowsFileSystem : public ::testing::Test {
protected:
    void SetAttribute(const std::string& path, DWORD attribute) {
        ASSERT_TRUE(::SetFileAttributesW(Utf8ToWide(path).c_str(), attribute));
    }

    testing::TempDir dir;
};

TEST(WindowsCodePage, TestsRunWithCodePage936) {
    // Every decoding test assumes the Chinese ANSI code page.
    EXPECT_EQ(::GetACP(), 936u);
}

TEST_F(WindowsFileSystem, ExistenceFindsNormalFilesOnly) {
    const std::string normal = dir.Write("p.vbp", "x");
    const std::string hidden = dir.Write("h.vbp", "x");
    const std::string system = dir.Write("s.vbp", "x");
    const std::string readOnly = dir.Write("r.vbp", "x");
    SetAttribute(hidden, FILE_ATTRIBUTE_HIDDEN);
    SetAttribute(system, FILE_ATTRIBUTE_SYSTEM);
    SetAttribute(readOnly, FILE_ATTRIBUTE_READONLY);
    std::filesystem::create_directories(dir.path() / "folder.vbp");
    EXPECT_TRUE(FileExists(normal));
    EXPECT_TRUE(FileExists(readOnly));
    EXPECT_FALSE(FileExists(hidden));
    EXPECT_FALSE(FileExists(system));
    EXPECT_FALSE(FileExists(dir.Str("folder.vbp")));
    EXPECT_FALSE(FileExists(dir.Str()));
    EXPECT_FALSE(FileExists(dir.Str() + "\\"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FileExists(dir.Str("P.VBP")));
    SetAttribute(readOnly, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindowsFileSystem, WildcardsMatchAnyNormalFile) {
    const std::string hidden = dir.Write("sub\\a.vbp", "x");
    SetAttribute(hidden, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(FileExists(dir.Str("sub\\*.vbp")));  // the only match is hidden
    dir.Write("sub\\b.vbp", "x");
    EXPECT_TRUE(FileExists(dir.Str("sub\\*.vbp")));
    EXPECT_TRUE(FileExists(dir.Str("sub\\?.VBP")));
    EXPECT_FALSE(FileExists(dir.Str("sub\\??.vbp")));
    dir.Write("[x]\\a[1].bas", "x");
    EXPECT_TRUE(FileExists(dir.Str("[x]\\a[1].bas")));
    EXPECT_FALSE(FileExists(dir.Str("[x]\\a1.bas")));
}

TEST(WindowsPaths, FolderEndsAtTheLastSeparatorAndNamesStayAsWritten) {
    EXPECT_EQ(ProjectFolder("C:\\VB\\Proj\\p.vbp"), "C:\\VB\\Proj\\");
    EXPECT_EQ(ProjectFolder("p.vbp"), "");
    EXPECT_EQ(ProjectFolder("C:/VB/p.vbp"), "C:/VB/");
    // 乗 is 0x81 0x5C in code page 936; in UTF-8 no byte of it is a backslash.
    EXPECT_EQ(ProjectFolder("C:\\乗\\p.vbp"), "C:\\乗\\");
    EXPECT_EQ(MemberPath("C:\\VB\\", "..\\Lib\\a.bas"), "C:\\VB\\..\\Lib\\a.bas");
}

TEST_F(WindowsFileSystem, ChineseNamesOpenWhateverTheCodePage) {
    const std::filesystem::path file =
        dir.path() / std::filesystem::u8path(u8"工程") / std::filesystem::u8path(u8"模块.bas");
    std::filesystem::create_directories(file.parent_path());
    {
        std::ofstream out(file, std::ios::binary);
        out << "Attribute VB_Name = \"M\"\r\nx = 1\r\n' c\r\n";
    }
    const std::string path = dir.Str() + "\\工程\\模块.bas";
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(LocateFile(path), path);
    EXPECT_EQ(CountVb6File(path, false, false), 2);
}

TEST_F(WindowsFileSystem, InputFileReportsWhyItCannotRead) {
    EXPECT_EQ(InputFile::Open(dir.Str("none")).Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(dir.Str("none\\x")).Problem().error, FileError::Missing);
    EXPECT_EQ(InputFile::Open(dir.Str()).Problem().error, FileError::NotAFile);
    EXPECT_EQ(InputFile::Open(dir.Str("*.bas")).Problem().error, FileError::Missing);
    EXPECT_EQ(LocateFile(dir.Str("*.bas")), std::nullopt);
}

}  // namespace
}  // namespace tallix
