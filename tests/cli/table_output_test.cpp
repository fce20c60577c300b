#include "cli/table_output.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tallix::cli {
namespace {

MemberCount Member(std::string name, std::int64_t lines, LineTally tally) {
    MemberCount member;
    member.name = std::move(name);
    member.tally = tally;
    member.lines = lines;
    return member;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// Blank lines skipped, so lines differ from the sum of the classes; every column is distinct.
ProjectCount SampleCount() {
    ProjectCount count;
    count.counting.skipBlankLines = true;
    count.members = {Member("frmMain.frm", 1234567, {1234000, 567, 9}),
                     Member("Modules\\工具.bas", 7, {5, 2, 40}), Member("Empty.cls", 0, {})};
    count.texts.total = 1234574;
    return count;
}

TEST(DisplayWidth, WideCharactersTakeTwoColumns) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("abc 12"), 6u);
    EXPECT_EQ(DisplayWidth("统计行数"), 8u);
    EXPECT_EQ(DisplayWidth("a（b）"), 6u);  // full-width brackets
    EXPECT_EQ(DisplayWidth("é"), 1u);
    EXPECT_EQ(DisplayWidth("\xFF"), 1u);  // a stray byte still takes a column
}

TEST(WriteTable, OneRowPerMemberInProjectOrderThenTheTotal) {
    std::ostringstream out;
    WriteTable(SampleCount(), out);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 7u) << out.str();  // titles, rule, 3 members, rule, total

    EXPECT_EQ(Words(lines[0]),
              (std::vector<std::string>{"统计行数", "代码行", "注释行", "空白行", "文件"}));
    EXPECT_EQ(Words(lines[2]),
              (std::vector<std::string>{"1234567", "1234000", "567", "9", "frmMain.frm"}));
    EXPECT_EQ(Words(lines[3]),
              (std::vector<std::string>{"7", "5", "2", "40", "Modules\\工具.bas"}));
    EXPECT_EQ(Words(lines[4]), (std::vector<std::string>{"0", "0", "0", "0", "Empty.cls"}));
    EXPECT_EQ(Words(lines[6]),
              (std::vector<std::string>{"1234574", "1234005", "569", "49", "合计"}));
}

TEST(WriteTable, ColumnsLineUpOnScreen) {
    std::ostringstream out;
    WriteTable(SampleCount(), out);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 7u);

    // Every number ends, and every name starts, at the same screen column in every row.
    const std::size_t nameColumn = DisplayWidth(lines[0].substr(0, lines[0].rfind("文件")));
    for (std::size_t row : {2u, 3u, 4u, 6u}) {
        const std::vector<std::string> words = Words(lines[row]);
        const std::size_t nameAt = lines[row].rfind(words.back());
        EXPECT_EQ(DisplayWidth(lines[row].substr(0, nameAt)), nameColumn) << lines[row];
        const std::size_t blankEnd = lines[row].rfind(words[3] + "  ") + words[3].size();
        EXPECT_EQ(blankEnd, lines[2].rfind("9  ") + 1) << lines[row];
    }
    const std::size_t titleEnd =
        DisplayWidth(lines[0].substr(0, lines[0].find("代码行") + std::string("代码行").size()));
    EXPECT_EQ(titleEnd, lines[2].find("1234000") + 7);
}

}  // namespace
}  // namespace tallix::cli
