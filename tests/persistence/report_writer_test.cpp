#include "persistence/report_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "temp_dir.h"

namespace tallix {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The report as code page 936 bytes, spelled out so that an encoding slip shows.
const std::string kHeader =
    "============\xB1\xBE\xC4\xDA\xC8\xDD\xD3\xC9Tallix\xB8\xA8\xD6\xFA\xC9\xFA\xB3\xC9"
    "============\r\n";
const std::string kFooter = std::string(46, '=') + "\r\n";

TEST(ReportBytes, FiveLabelledLinesInCodePage936) {
    const std::string bytes = ReportBytes({"/home/u/工程/p.vbp", "a.frm:12,b.bas:3", "15"});
    EXPECT_EQ(bytes,
              kHeader +
                  "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA/home/u/\xB9\xA4\xB3\xCC/p.vbp\r\n"
                  "\xD3\xD0\xD0\xA7\xD0\xD0\xCA\xFD\xA3\xBA"
                  "a.frm:12,b.bas:3\r\n"
                  "\xD7\xDC\xBC\xC6\xD0\xD0\xCA\xFD\xA3\xBA"
                  "15\r\n" +
                  kFooter);
}

TEST(ReportBytes, EmptyPathLeavesTheBareLabel) {
    const std::string bytes = ReportBytes({"", "a:1", "1"});
    EXPECT_NE(bytes.find("\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA\r\n"), std::string::npos);
}

TEST(ReportBytes, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    const std::string bytes = ReportBytes({"\xF0\x9F\x98\x80.vbp", "x:1", "1"});
    EXPECT_NE(bytes.find("\xA3\xBA?.vbp\r\n"), std::string::npos);
}

class WriteReportTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    const ReportContent content{"p.vbp", "a.frm:2", "2"};
};

TEST_F(WriteReportTest, CreatesAndOverwritesCompletely) {
    const std::string path = dir.Str("R.LOG");
    ASSERT_EQ(WriteReport(path, content), std::nullopt);
    EXPECT_EQ(ReadBytes(path), ReportBytes(content));
    dir.Write("R.LOG", std::string(10000, 'x'));
    ASSERT_EQ(WriteReport(path, content), std::nullopt);
    EXPECT_EQ(ReadBytes(path), ReportBytes(content));
    // Nothing is left behind beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(WriteReportTest, FailuresGiveAReasonAndKeepTheOldReport) {
    EXPECT_NE(WriteReport(dir.Str("missing/R.LOG"), content), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    EXPECT_NE(WriteReport(dir.Str(), content), std::nullopt);
    EXPECT_NE(WriteReport("", content), std::nullopt);

    const std::string old = dir.Write("old.LOG", "old report\r\n");
    std::filesystem::permissions(testing::FromUtf8(old),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const auto reason = WriteReport(old, content);
    ASSERT_NE(reason, std::nullopt);
    EXPECT_FALSE(reason->empty());
    EXPECT_EQ(ReadBytes(old), "old report\r\n");
}

TEST_F(WriteReportTest, KeepsThePermissionsOfTheReportItReplaces) {
    if (testing::kWindows) {
        GTEST_SKIP() << "Windows files have no permission bits";
    }
    const std::string path = dir.Write("R.LOG", "old");
    ::chmod(path.c_str(), 0600);
    ASSERT_EQ(WriteReport(path, content), std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace tallix
