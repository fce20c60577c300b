// Writing the report on Windows: names through the wide-character API, and a report that
// another program holds open.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "engine/text/wide_text.h"
#include "persistence/replace_file.h"
#include "persistence/report_writer.h"
#include "temp_dir.h"

namespace tallix {
namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::ptrdiff_t EntriesIn(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

class WindowsReportFile : public ::testing::Test {
protected:
    testing::TempDir dir;
    const ReportContent content{"C:\\工程\\乗.vbp", "乗.bas:2", "2"};
};

TEST_F(WindowsReportFile, NamesOutsideTheCodePageAreWritten) {
    // "ä" and "한" have no place in code page 936, so only the wide-character API can make
    // this name; the folder part is Chinese.
    std::filesystem::create_directories(dir.path() / testing::FromUtf8("报告"));
    const std::string path = dir.Str("报告\\Bericht-ä-한.LOG");
    ASSERT_EQ(WriteReport(path, content), std::nullopt);
    const auto file = dir.path() / testing::FromUtf8("报告/Bericht-ä-한.LOG");
    EXPECT_EQ(ReadBytes(file), ReportBytes(content));

    // The same file through forward slashes, replaced.
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const ReportContent other{"p.vbp", "", "0"};
    ASSERT_EQ(WriteReport(slashed, other), std::nullopt);
    EXPECT_EQ(ReadBytes(file), ReportBytes(other));
    EXPECT_EQ(EntriesIn(file.parent_path()), 1);
}

TEST_F(WindowsReportFile, ReportHeldOpenElsewhereIsKeptAndTheReasonIsOneLine) {
    const std::string path = dir.Write("R.LOG", "old report\r\n");
    // Opened as an editor that locks its file would: others may read it, nothing more.
    HANDLE held = ::CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto reason = WriteReport(path, content);
    ::CloseHandle(held);

    ASSERT_NE(reason, std::nullopt);
    EXPECT_FALSE(reason->empty());
    EXPECT_EQ(reason->find_first_of("\r\n"), std::string::npos) << *reason;
    EXPECT_EQ(WideToUtf8(Utf8ToWide(*reason)), *reason) << "the reason is UTF-8";
    EXPECT_EQ(ReadBytes(testing::FromUtf8(path)), "old report\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1) << "the temporary file is removed";

    EXPECT_EQ(WriteReport(path, content), std::nullopt);
    EXPECT_EQ(ReadBytes(testing::FromUtf8(path)), ReportBytes(content));
}

// The same replace path with content that a writer streams in parts, as a deposit is: it
// arrives whole, and a writer that gives up leaves the earlier file and no temporary one.
TEST_F(WindowsReportFile, StreamedContentArrivesWholeOrNotAtAll) {
    const std::string path = dir.Str("源程序.pdf");
    const auto parts = [](int count, std::optional<std::string> reason) {
        return [count, reason](const ContentSink& write) -> std::optional<std::string> {
            for (int i = 0; i < count; ++i) {
                if (!write("part " + std::to_string(i) + "\n")) {
                    return std::string("refused");
                }
            }
            return reason;
        };
    };
    ASSERT_EQ(ReplaceFileContents(path, parts(3000, std::nullopt)), std::nullopt);
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        expected += "part " + std::to_string(i) + "\n";
    }
    const std::string whole = ReadBytes(testing::FromUtf8(path));
    EXPECT_EQ(whole, expected);
    EXPECT_EQ(ReplaceFileContents(path, parts(10, std::string("no font"))),
              std::optional<std::string>("no font"));
    EXPECT_EQ(ReadBytes(testing::FromUtf8(path)), whole);
    EXPECT_EQ(EntriesIn(dir.path()), 1) << "the temporary file is removed";
}

}  // namespace
}  // namespace tallix
