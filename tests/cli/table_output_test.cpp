#include "cli/table_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/terminal_text.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::TempFolder;

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
// The last name carries an escape sequence, a bell, a tab and DEL.
std::vector<MemberCount> SampleMembers() {
    return {Member("frmMain.frm", 1234567, {1234000, 567, 9}),
            Member("Modules\\工具.bas", 7, {5, 2, 40}), Member("Empty.cls", 0, {}),
            Member("x\x1B]0;t\x07\t\x7F.bas", 0, {})};
}

CountSummary Spool(const std::vector<MemberCount>& members, MemberSpool& spool) {
    CountSummary summary;
    for (const MemberCount& member : members) {
        spool.Add(member);
        summary.sums.Add(member);
    }
    return summary;
}

// The table of the members as a run prints it; expects every row to be read back.
std::string Table(const std::vector<MemberCount>& members) {
    MemberSpool spool;
    const CountSummary summary = Spool(members, spool);
    std::ostringstream out;
    EXPECT_TRUE(WriteTable(summary, spool, out));
    return out.str();
}

TEST(WriteTable, OneRowPerMemberInProjectOrderThenTheTotal) {
    const std::string table = Table(SampleMembers());
    const std::vector<std::string> lines = Lines(table);
    ASSERT_EQ(lines.size(), 8u) << table;  // titles, rule, 4 members, rule, total

    EXPECT_EQ(Words(lines[0]),
              (std::vector<std::string>{"统计行数", "代码行", "注释行", "空白行", "文件"}));
    EXPECT_EQ(Words(lines[2]),
              (std::vector<std::string>{"1234567", "1234000", "567", "9", "frmMain.frm"}));
    EXPECT_EQ(Words(lines[3]),
              (std::vector<std::string>{"7", "5", "2", "40", "Modules\\工具.bas"}));
    EXPECT_EQ(Words(lines[4]), (std::vector<std::string>{"0", "0", "0", "0", "Empty.cls"}));
    // Control characters in a name reach the terminal only as visible escapes.
    EXPECT_TRUE(lines[5].ends_with("  x\\x1B]0;t\\x07\\x09\\x7F.bas")) << lines[5];
    EXPECT_EQ(table.find_first_of("\x1B\x07\t\x7F"), std::string::npos);
    EXPECT_EQ(Words(lines[7]),
              (std::vector<std::string>{"1234574", "1234005", "569", "49", "合计"}));
}

TEST(WriteTable, ColumnsLineUpOnScreen) {
    const std::vector<std::string> lines = Lines(Table(SampleMembers()));
    ASSERT_EQ(lines.size(), 8u);

    // Every number ends, and every name starts, at the same screen column in every row.
    const std::size_t nameColumn = DisplayWidth(lines[0].substr(0, lines[0].rfind("文件")));
    for (std::size_t row : {2u, 3u, 4u, 5u, 7u}) {
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

TEST(WriteTable, ATotalWiderThanEveryMemberWidensItsColumn) {
    // Lines: 10 digits in the total, 9 in each member, 8 columns in the title.
    const std::vector<std::string> lines =
        Lines(Table({Member("a", 900000000, {900000000, 0, 0}), Member("b", 200000000, {})}));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[0].starts_with("  统计行数  ")) << lines[0];
    EXPECT_TRUE(lines[2].starts_with(" 900000000  900000000  ")) << lines[2];
    EXPECT_TRUE(lines[3].starts_with(" 200000000          0  ")) << lines[3];
    EXPECT_TRUE(lines[5].starts_with("1100000000  900000000  ")) << lines[5];
    EXPECT_EQ(lines[1], std::string(DisplayWidth(lines[0]), '-'));
    EXPECT_EQ(lines[4], lines[1]);
}

TEST(WriteTable, NoTotalWhenTheRowsCannotBeReadBack) {
    // A temporary file that takes writes but cannot be read.
    TempFolder folder;
    const std::string file = folder.Path("rows");
    MemberSpool spool({1, [&] { return std::fopen(file.c_str(), "wb"); }});
    const CountSummary summary = Spool(SampleMembers(), spool);
    std::ostringstream out;
    EXPECT_FALSE(WriteTable(summary, spool, out));
    EXPECT_EQ(out.str().find("合计"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace tallix::cli
