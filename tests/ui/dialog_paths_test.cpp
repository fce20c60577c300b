#include "ui/dialog_paths.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tallix {
namespace {

struct SaveCase {
    const char* chosen;
    const char* saved;
};

void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << c.chosen;
}

class NormaliseSavePathTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(NormaliseSavePathTest, UpperCasesTheNameAndAddsTheExtension) {
    EXPECT_EQ(NormaliseSavePath(GetParam().chosen, "*.LOG", FolderCase::Kept), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    ReportNames, NormaliseSavePathTest,
    ::testing::Values(
        SaveCase{"report", "REPORT.LOG"},                          // bare name
        SaveCase{"/home/ann/report", "/home/ann/REPORT.LOG"},      // folders keep case
        SaveCase{"/home/ann/result.log", "/home/ann/RESULT.LOG"},  // no second extension
        SaveCase{"/home/ann/result.txt", "/home/ann/RESULT.TXT.LOG"},
        SaveCase{"/home/ann.b/result", "/home/ann.b/RESULT.LOG"},  // dot only in a folder
        SaveCase{"C:\\Work\\v1.2\\out", "C:\\Work\\v1.2\\OUT.LOG"},
        SaveCase{"C:\\Work\\Out.Log", "C:\\Work\\OUT.LOG"},
        SaveCase{"/tmp/x.LOG.bak", "/tmp/X.LOG.BAK.LOG"}, SaveCase{"/tmp/name.", "/tmp/NAME..LOG"},
        SaveCase{"/tmp/结果.log", "/tmp/结果.LOG"},
        // The letters a path in code page 936 can hold: Latin-1, Greek, Cyrillic, full width.
        SaveCase{"/tmp/café.log", "/tmp/CAFÉ.LOG"}, SaveCase{"/tmp/σςω.log", "/tmp/ΣΣΩ.LOG"},
        SaveCase{"/tmp/отчёт", "/tmp/ОТЧЁТ.LOG"}, SaveCase{"/tmp/ａｂｃ", "/tmp/ＡＢＣ.LOG"},
        SaveCase{"/tmp/÷ÿ", "/tmp/÷Ÿ.LOG"},
        // Bytes that are not UTF-8 stay as they are.
        SaveCase{"/tmp/a\xFF\xC3", "/tmp/A\xFF\xC3.LOG"}));

TEST(NormaliseSavePathTest, ExtensionComesFromThePatternsFirstDot) {
    EXPECT_EQ(NormaliseSavePath("/t/a", "*.log", FolderCase::Kept), "/t/A.LOG");
    EXPECT_EQ(NormaliseSavePath("/t/a.tar.gz", "*.tar.gz", FolderCase::Kept), "/t/A.TAR.GZ.TAR.GZ");
    EXPECT_EQ(NormaliseSavePath("/t/a", "*", FolderCase::Kept), "/t/A");
}

TEST(NormaliseSavePathTest, WhereFoldersIgnoreCaseTheWholePathIsUpperCased) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Work\\v1.2\\out", "C:\\WORK\\V1.2\\OUT.LOG"},
        {"c:\\Users\\Ann\\结果.log", "C:\\USERS\\ANN\\结果.LOG"},
        {"\\\\server\\share\\a.b\\r", "\\\\SERVER\\SHARE\\A.B\\R.LOG"},
        {"report", "REPORT.LOG"},
    };
    for (const auto& [chosen, saved] : cases) {
        EXPECT_EQ(NormaliseSavePath(chosen, "*.LOG", FolderCase::UpperCased), saved) << chosen;
    }
    // Each platform's own: Windows as its users have always had it, elsewhere folders kept.
    EXPECT_EQ(PlatformFolderCase(), testing::kWindows ? FolderCase::UpperCased : FolderCase::Kept);
    EXPECT_EQ(NormaliseSavePath("C:\\Work\\out", "*.LOG"),
              testing::kWindows ? "C:\\WORK\\OUT.LOG" : "C:\\Work\\OUT.LOG");
}

TEST(DialogFilterTest, NameWithThePatternInBrackets) {
    EXPECT_EQ(DialogFilter("Log文件", "*.LOG"), "Log文件(*.LOG)");
    EXPECT_EQ(DialogFilter("VB6工程文件", "*.vbp"), "VB6工程文件(*.vbp)");
}

TEST(StartingFolderTest, AFilePathStartsInItsFolder) {
    testing::TempDir folder;
    const std::string path = folder.Str("工程");
    std::filesystem::create_directories(testing::FromUtf8(path));
    EXPECT_EQ(StartingFolder(path), path);
    const std::string file = path + testing::kSeparator + "p.vbp";
    EXPECT_EQ(StartingFolder(file), path);
    EXPECT_EQ(StartingFolder(""), "");
}

}  // namespace
}  // namespace tallix

namespace tallix {
namespace {

TEST(DepositSavePath, AddsPdfUnlessTheNameEndsInItAndChangesNothingElse) {
    struct Case {
        const char* chosen;
        const char* saved;
    };
    const Case cases[] = {
        {"/home/u/软著", "/home/u/软著.pdf"},
        {"/home/u/Deposit.pdf", "/home/u/Deposit.pdf"},
        {"/home/u/Deposit.PDF", "/home/u/Deposit.PDF"},
        {"/home/u/Deposit.Pdf", "/home/u/Deposit.Pdf"},
        {"/home/u/a.pdf.txt", "/home/u/a.pdf.txt.pdf"},
        {"/home/u/apdf", "/home/u/apdf.pdf"},
        {"/home/x.pdf/deposit", "/home/x.pdf/deposit.pdf"},
        {"C:\\Users\\u\\x.pdf\\d", "C:\\Users\\u\\x.pdf\\d.pdf"},
        {"C:\\Users\\u\\d.pdf", "C:\\Users\\u\\d.pdf"},
        {"d", "d.pdf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DepositSavePath(c.chosen), c.saved) << c.chosen;
    }
}

}  // namespace
}  // namespace tallix
