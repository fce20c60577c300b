// The deposit's PDF, read back with poppler-utils: its pages, their size and headers, exactly
// fifty rows a page, every character in its columns, the font embedded as a subset; and a
// deposit that is empty or cannot be written leaves any earlier file as it was.
#include "persistence/deposit/deposit_writer.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/listing/listing_members.h"
#include "pdf_reading.h"
#include "temp_dir.h"

namespace tallix {
namespace {

namespace fs = std::filesystem;
using testing::DrawnPage;
using testing::DrawnPages;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A VB6 module whose code lines are numbered, "L1" on; `longLines` of them at the start 250
// columns wide.
std::string NumberedModule(int lines, int longLines = 0) {
    std::string text = "Attribute VB_Name = \"M\"\r\n";
    for (int i = 1; i <= lines; ++i) {
        std::string line = "L" + std::to_string(i);
        if (i <= longLines) {
            line += std::string(250 - line.size(), '=');
        }
        text += line + "\r\n";
    }
    return text;
}

std::string WithoutTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

class Deposit : public ::testing::Test {
protected:
    void SetUp() override {
        font = FindDepositFont();
        ASSERT_TRUE(font.has_value()) << "no Noto Sans Mono CJK SC: scripts/install-deps";
        std::string reason;
        face = DepositFace::Open(*font, reason);
        ASSERT_NE(face, nullptr) << reason;
    }

    DepositResult Write(const std::vector<std::string>& names, bool allPages = false,
                        CountOptions options = {}, DepositHeader header = {"教务管理系统", "V1.0"},
                        SourceKind kind = SourceKind::Vb6) {
        return WriteDeposit({pdf, header, allPages, options},
                            ProjectListingMembers(dir.Str("p.vbp"), names, kind, 2), font, 2);
    }

    // The rows the deposited pages should hold, as the listing gives them.
    std::vector<std::vector<std::string>> ExpectedPages(const ListingPlan& plan,
                                                        CountOptions options = {}) {
        std::vector<std::vector<std::string>> pages;
        ListDepositedPages(plan, options, face->Style(), [&](const DepositedLine& line) {
            pages.resize(static_cast<std::size_t>(line.page));
            pages.back().push_back(WithoutTrailingSpaces(std::string(line.text)));
            return true;
        });
        return pages;
    }

    // Every page drawn: the header's name and version at the left and the page's number,
    // in order from 1, at the right; the rows the listing gives.
    void ExpectDrawn(const ListingPlan& plan, const std::string& title = "教务管理系统 V1.0",
                     CountOptions options = {}) {
        const std::vector<DrawnPage> drawn = DrawnPages(pdf);
        const auto expected = ExpectedPages(plan, options);
        ASSERT_EQ(drawn.size(), expected.size());
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            SCOPED_TRACE("page " + std::to_string(i + 1));
            EXPECT_EQ(drawn[i].title, title);
            EXPECT_EQ(drawn[i].number, std::to_string(i + 1));
            EXPECT_EQ(drawn[i].numberColumn, 101 - static_cast<int>(drawn[i].number.size()))
                << "the number ends at the right of the text area";
            // Blank rows at a page's foot hold no word the reader could place.
            std::vector<std::string> rows = expected[i];
            while (!rows.empty() && rows.back().empty()) {
                rows.pop_back();
            }
            EXPECT_EQ(drawn[i].rows, rows);
        }
    }

    testing::TempDir dir;
    std::string pdf = dir.Str("deposit.pdf");
    std::optional<FontFile> font;
    std::unique_ptr<DepositFace> face;
};

TEST_F(Deposit, NotoGivesMarksOneColumnWide) {
    EXPECT_EQ(face->Style().columns, 100);
    EXPECT_EQ(face->Style().controlMark, U'\u00A4');
    EXPECT_EQ(face->Style().continuationMark, U'\u00BB');
}

TEST_F(Deposit, ExamplesGiveTwoA4PagesWithTheFontEmbeddedAsASubset) {
    const std::string project = std::string(TALLIX_EXAMPLES_DIR) + "/vb6/Inventory.vbp";
    const DepositResult result = WriteDeposit(
        {pdf, {"教务管理系统", "V1.0"}, false, {}},
        ProjectListingMembers(
            project,
            {"frmMain.frm", "modInventory.bas", "Classes\\clsItem.cls", "MODULES\\helpers.bas"},
            SourceKind::Vb6, 2),
        font, 2);
    ASSERT_EQ(result.end, DepositEnd::Written) << result.reason;
    EXPECT_EQ(result.plan.lines, 64) << "the total tallix prints for the project";
    EXPECT_EQ(testing::PdfInfoField(pdf, "Pages"), "2");
    EXPECT_EQ(testing::PdfInfoField(pdf, "Page size"), "595.276 x 841.89 pts (A4)");
    EXPECT_EQ(testing::PdfInfoField(pdf, "Title"), "教务管理系统 V1.0");
    ExpectDrawn(result.plan);
    const std::vector<DrawnPage> drawn = DrawnPages(pdf);
    EXPECT_EQ(drawn[1].rows.size(), 14u);
    EXPECT_EQ(drawn[0].rows[0], "Option Explicit");
    EXPECT_EQ(drawn[0].rows[2], "' 窗体级的库存清单");

    // One font, embedded, as a subset (its name carries a six-letter tag), mapped to Unicode.
    const std::string fonts = testing::CommandOutput("pdffonts " + testing::Quoted(pdf));
    std::istringstream lines(fonts);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 3u) << fonts;
    EXPECT_TRUE(rows[2].find("+NotoSansMonoCJKsc-Regular") == 6) << rows[2];
    EXPECT_NE(rows[2].find("yes yes yes"), std::string::npos) << rows[2];

    // pdftotext -layout gives back every character, line by line, in order; only its
    // spacing is its own.
    const std::vector<std::string> layout = testing::LayoutPages(pdf);
    ASSERT_EQ(layout.size(), 2u);
    const auto expected = ExpectedPages(result.plan);
    for (std::size_t page = 0; page < 2; ++page) {
        std::string text = "教务管理系统 V1.0 " + std::to_string(page + 1) + "\n";
        for (const std::string& row : expected[page]) {
            text += row + "\n";
        }
        EXPECT_EQ(testing::Words(layout[page]), testing::Words(text));
    }
}

// Every character on its row and in its columns, within the margins: 25 mm at the left,
// 15 mm on the other sides.
TEST_F(Deposit, TextStaysWithinTheMargins) {
    dir.Write("m.bas", NumberedModule(120, 3));
    ASSERT_EQ(Write({"m.bas"}).end, DepositEnd::Written);
    const double mm = 72 / 25.4;
    for (const testing::PdfWord& word : testing::PdfWords(pdf)) {
        EXPECT_GE(word.left, 25 * mm - 0.01) << word.text;
        EXPECT_LE(word.left + word.width, (210 - 15) * mm) << word.text;
        EXPECT_GE(word.top, 15 * mm) << word.text;
        EXPECT_LE(word.top + word.height, (297 - 15) * mm) << word.text;
    }
}

struct PagesCase {
    int lines;      // code lines of the one member
    int longLines;  // of three printed lines each
    int listingPages;
    int documentPages;
    int lastPageRows;
};

class DepositPages : public Deposit, public ::testing::WithParamInterface<PagesCase> {};

TEST_P(DepositPages, FiftyRowsAPageAndTheRightPages) {
    const PagesCase& c = GetParam();
    dir.Write("m.bas", NumberedModule(c.lines, c.longLines));
    const DepositResult result = Write({"m.bas"});
    ASSERT_EQ(result.end, DepositEnd::Written) << result.reason;
    EXPECT_EQ(result.plan.pages, c.listingPages);
    EXPECT_EQ(testing::PdfInfoField(pdf, "Pages"), std::to_string(c.documentPages));
    const std::vector<DrawnPage> drawn = DrawnPages(pdf);
    ASSERT_EQ(drawn.size(), static_cast<std::size_t>(c.documentPages));
    for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].rows.size(), 50u) << "page " << i + 1;
        EXPECT_FALSE(drawn[i].rows.back().empty()) << "page " << i + 1;
    }
    EXPECT_EQ(drawn.back().rows.size(), static_cast<std::size_t>(c.lastPageRows));
    EXPECT_EQ(drawn.back().rows.back(), "L" + std::to_string(c.lines)) << "the program's end";
    EXPECT_EQ(drawn.front().rows.front().substr(0, 3), "L1=");
    if (c.listingPages > 60) {
        // Document page 31 is the listing's page (pages - 29): short lines only by then.
        const int firstIndex = (c.listingPages - 30) * 50;
        EXPECT_EQ(drawn[30].rows[0], "L" + std::to_string(firstIndex - 2 * c.longLines + 1));
        EXPECT_EQ(drawn[30].number, "31");
    }
    ExpectDrawn(result.plan);
}

INSTANTIATE_TEST_SUITE_P(FiftyNineToOneHundredThirty, DepositPages,
                         ::testing::Values(PagesCase{2930, 10, 59, 59, 50},
                                           PagesCase{2980, 10, 60, 60, 50},
                                           PagesCase{2981, 10, 61, 60, 1},
                                           PagesCase{6450, 20, 130, 60, 40}));

TEST_F(Deposit, EveryPageWhenAsked) {
    dir.Write("m.bas", NumberedModule(3100));
    const DepositResult result = Write({"m.bas"}, true);
    ASSERT_EQ(result.end, DepositEnd::Written) << result.reason;
    EXPECT_EQ(testing::PdfInfoField(pdf, "Pages"), "62");
    EXPECT_EQ(DrawnPages(pdf).back().number, "62");
}

TEST_F(Deposit, LongAndWideLinesBreakAtTheRightColumnWithTheMark) {
    dir.Write("m.bas", "Attribute VB_Name = \"M\"\r\n" + std::string(300, 'b') + "\r\n" +
                           std::string(99, 'a') + "\xD6\xD0\r\n" + "s = \"" +
                           std::string(120, '\xB0') + "\"\r\n" +  // 60 wide ones
                           "\tx\t= \x01\r\n");
    const DepositResult result = Write({"m.bas"});
    ASSERT_EQ(result.end, DepositEnd::Written) << result.reason;
    const std::vector<DrawnPage> drawn = DrawnPages(pdf);
    ASSERT_EQ(drawn.size(), 1u);
    const std::string bb(100, 'b');
    ASSERT_GE(drawn[0].rows.size(), 8u);
    EXPECT_EQ(drawn[0].rows[0], bb + "»");
    EXPECT_EQ(drawn[0].rows[1], bb + "»");
    EXPECT_EQ(drawn[0].rows[2], bb);
    EXPECT_EQ(drawn[0].rows[3], std::string(99, 'a') + " »") << "the wide one moves down";
    EXPECT_EQ(drawn[0].rows[4], "中");
    // 5 columns of `s = "`, then 47 of the 60 wide ones fill 94 more: 99, and the 48th moves.
    EXPECT_EQ(PrintedColumns(drawn[0].rows[5].substr(0, drawn[0].rows[5].size() - 3)), 99);
    EXPECT_TRUE(drawn[0].rows[5].ends_with(" »"));
    EXPECT_EQ(drawn[0].rows[7], "    x   = ¤");
    EXPECT_EQ(drawn[0].rows.size(), 8u);
    ExpectDrawn(result.plan);
}

TEST_F(Deposit, MembersOfEveryEncodingAsCountingDecodesThem) {
    dir.Write("gbk.bas", "Attribute VB_Name = \"G\"\r\n' \xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD\r\n");
    dir.Write("gb18030.bas", "Attribute VB_Name = \"H\"\r\nc = \"\x81\x30\x84\x38\"\r\n");
    dir.Write("bom.vb", "\xEF\xBB\xBFImports \xE7\xB3\xBB\xE7\xBB\x9F\r\n' \xE2\x91\xA0\r\n");
    const DepositResult vb6 = Write({"gbk.bas", "gb18030.bas"});
    ASSERT_EQ(vb6.end, DepositEnd::Written) << vb6.reason;
    // Code page 936 knows no four-byte sequence: each of its two pairs is two characters.
    EXPECT_EQ(DrawnPages(pdf)[0].rows, (std::vector<std::string>{"' 中文注释",
                                                                 "c = \"\xEF\xBF\xBD"
                                                                 "0\xEF\xBF\xBD"
                                                                 "8\""}));
    const DepositResult vbnet = Write({"bom.vb"}, false, {}, {"系统", "V2.1"}, SourceKind::VbNet);
    ASSERT_EQ(vbnet.end, DepositEnd::Written) << vbnet.reason;
    const std::vector<DrawnPage> drawn = DrawnPages(pdf);
    EXPECT_EQ(drawn[0].title, "系统 V2.1");
    EXPECT_EQ(drawn[0].rows, (std::vector<std::string>{"Imports 系统", "' ①"}))
        << "the byte-order mark is not printed";
}

TEST_F(Deposit, ASetListsASharedFileOnce) {
    dir.Write("Shared/Common.bas", NumberedModule(5));
    dir.Write("One/Own.bas", NumberedModule(2));
    dir.Write("One/One.vbp", "Module=O; Own.bas\r\nModule=C; ..\\Shared\\Common.bas\r\n");
    dir.Write("Two/Two.vbp", "Module=C; ..\\shared\\common.BAS\r\n");
    const ProjectSet set =
        ReadProjectSet(dir.Write("All.vbg", "Project=One\\One.vbp\r\nProject=Two\\Two.vbp\r\n"));
    const DepositResult result =
        WriteDeposit({pdf, {"库存", "V1.0"}, false, {}},
                     SetListingMembers(ReadSetProjects(set.projects), 2), font, 2);
    ASSERT_EQ(result.end, DepositEnd::Written) << result.reason;
    EXPECT_EQ(result.plan.lines, 7);
    EXPECT_EQ(DrawnPages(pdf)[0].rows,
              (std::vector<std::string>{"L1", "L2", "L1", "L2", "L3", "L4", "L5"}));
}

TEST_F(Deposit, ALongNameShrinksToLeaveRoomForTheNumber) {
    dir.Write("m.bas", NumberedModule(3));
    const std::string name(120, 'N');
    ASSERT_EQ(Write({"m.bas"}, false, {}, {name, "V9\x01"}).end, DepositEnd::Written);
    const std::vector<DrawnPage> drawn = DrawnPages(pdf);
    EXPECT_EQ(drawn[0].number, "1");
    EXPECT_EQ(drawn[0].numberColumn, 100);
    for (const testing::PdfWord& word : testing::PdfWords(pdf)) {
        if (word.text.starts_with("NNN")) {
            EXPECT_LT(word.left + word.width, 70.87 + 99 * 4.75) << "clear of the number";
        }
    }
    const std::string layout = testing::LayoutPages(pdf)[0];
    EXPECT_NE(layout.find(name + " V9¤"), std::string::npos) << "a control in the version";
}

TEST_F(Deposit, NothingToDepositWritesNoFile) {
    dir.Write("m.bas", "Attribute VB_Name = \"M\"\r\n\r\n' only a comment\r\n");
    const DepositResult result = Write({"m.bas", "gone.bas"}, false, {true, true});
    EXPECT_EQ(result.end, DepositEnd::NothingToDeposit);
    EXPECT_EQ(result.plan.lines, 0);
    EXPECT_EQ(result.plan.members[1].problem.error, FileError::Missing);
    EXPECT_FALSE(fs::exists(pdf));
    dir.Write("deposit.pdf", "earlier");
    EXPECT_EQ(Write({"m.bas"}, false, {true, true}).end, DepositEnd::NothingToDeposit);
    EXPECT_EQ(ReadBytes(pdf), "earlier");
}

TEST_F(Deposit, AFailureKeepsTheEarlierFile) {
    dir.Write("m.bas", NumberedModule(10));
    dir.Write("deposit.pdf", "earlier");
    fs::permissions(pdf, fs::perms(0444));
    DepositResult result = Write({"m.bas"});
    EXPECT_EQ(result.end, DepositEnd::NotWritten);
    EXPECT_EQ(result.reason, std::strerror(EACCES));
    EXPECT_EQ(result.plan.lines, 10) << "what was measured is still told";
    EXPECT_EQ(ReadBytes(pdf), "earlier");

    pdf = dir.Str("no such folder/deposit.pdf");
    EXPECT_EQ(Write({"m.bas"}).reason, std::strerror(ENOENT));

    pdf = dir.Str("deposit.pdf");
    font = FontFile{dir.Str("no font.ttc"), 0};
    result = Write({"m.bas"});
    EXPECT_EQ(result.end, DepositEnd::NotWritten);
    EXPECT_NE(result.reason.find("no font.ttc"), std::string::npos) << result.reason;
    EXPECT_EQ(ReadBytes(pdf), "earlier");
}

// A disk that fills up half-way: the child's file size limit stands in for it.
TEST_F(Deposit, AFullDiskKeepsTheEarlierFile) {
    dir.Write("m.bas", NumberedModule(1000));
    dir.Write("deposit.pdf", "earlier");
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20000, 20000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const DepositResult result = Write({"m.bas"});
        ::_exit(result.end == DepositEnd::NotWritten && result.reason == std::strerror(EFBIG) ? 0
                                                                                              : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(pdf), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

TEST_F(Deposit, ASymbolicLinkIsFollowedAndKept) {
    dir.Write("m.bas", NumberedModule(10));
    fs::create_directories(dir.path() / "real");
    fs::create_symlink("real/target.pdf", dir.path() / "link.pdf");
    pdf = dir.Str("link.pdf");
    ASSERT_EQ(Write({"m.bas"}).end, DepositEnd::Written);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link.pdf")));
    EXPECT_EQ(ReadBytes(dir.path() / "real/target.pdf").substr(0, 5), "%PDF-");
}

TEST(DepositSummary, TellsTheSizeAndThePages) {
    ListingPlan plan;
    plan.lines = 6450;
    plan.pages = 130;
    plan.deposited = {{1, 30}, {101, 130}};
    EXPECT_EQ(
        DepositSummary(plan),
        (std::vector<std::string>{"源程序量：6450 行",
                                  "源程序共 130 页，已导出第 1-30 页和第 101-130 页，共 60 页"}));
    plan.pages = 1;
    plan.deposited = {{1, 1}};
    EXPECT_EQ(DepositSummary(plan)[1], "源程序共 1 页，已全部导出");
    plan.pages = 130;
    plan.deposited = {{1, 130}};
    EXPECT_EQ(DepositSummary(plan)[1], "源程序共 130 页，已全部导出");
    EXPECT_EQ(DepositedPagesText({{1, 30}, {31, 31}}), "第 1-30 页和第 31 页");
}

}  // namespace
}  // namespace tallix
