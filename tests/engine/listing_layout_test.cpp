// How listed lines are printed: columns, tabs, marks, where long lines break, how many
// pages they fill and which pages are deposited; and how long lines are decoded in parts.
#include "engine/listing/listing_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/listing/decoded_lines.h"
#include "engine/listing/listing_pages.h"
#include "engine/text/display_width.h"

namespace tallix {
namespace {

using Lines = std::vector<std::string>;

// Eight columns, so that breaks are easy to see; "~" for controls, "|" to close a line.
constexpr ListingStyle kNarrow{8, U'~', U'|'};

Lines Printed(std::string_view utf8, const ListingStyle& style = kNarrow) {
    Lines lines;
    LineWrapper wrapper(style, [&](std::string_view text) { lines.emplace_back(text); });
    wrapper.Text(utf8, true);
    EXPECT_EQ(wrapper.Printed(), static_cast<std::int64_t>(lines.size()));
    EXPECT_EQ(PrintedLinesOf(utf8, style), wrapper.Printed());
    return lines;
}

TEST(LineWrapper, PrintsEachCharacterInItsColumns) {
    struct Case {
        const char* what;
        std::string text;
        Lines printed;
    };
    const Case cases[] = {
        {"empty", "", {""}},
        {"fits", "abcdefgh", {"abcdefgh"}},
        {"one past", "abcdefghi", {"abcdefgh|", "i"}},
        {"three lines", "abcdefghijklmnopq", {"abcdefgh|", "ijklmnop|", "q"}},
        {"tab to the next stop", "a\tb", {"a   b"}},
        {"a tab on a stop goes to the next", "abcd\tx", {"abcd    |", "x"}},
        {"tab to the last column", "abcdefg\tx", {"abcdefg |", "x"}},
        {"tab at the end of a full line", "abcdefgh\tx", {"abcdefgh|", "    x"}},
        {"two tabs", "\t\t", {"        "}},
        {"wide characters take two", "中文ab", {"中文ab"}},
        {"a wide one that does not fit moves down", "abcdefg中", {"abcdefg |", "中"}},
        {"full-width and ambiguous ones are wide", "Ａ①×é", {"Ａ①×é"}},
        {"box drawing is wide", "━━━━━", {"━━━━|", "━"}},
        {"controls become the mark",
         "a\x01\x1B\x7F"
         "b",
         {"a~~~b"}},
        {"C1 controls too", "\xC2\x85\xC2\x9F\xC2\xA0", {"~~\xC2\xA0"}},
        {"U+FFFD and the euro take one",
         "\xEF\xBF\xBD\xE2\x82\xAC"
         "abcdef",
         {"\xEF\xBF\xBD\xE2\x82\xAC"
          "abcdef"}},
        {"a tab stop counts on the printed line", "abcdefghij\tx", {"abcdefgh|", "ij  x"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Printed(c.text), c.printed) << c.what;
    }
}

TEST(LineWrapper, PiecesPrintAsTheWholeLine) {
    const std::string text = "  x = \"中文\t字段\"\x01 ' 注释①×";
    const Lines whole = Printed(text);
    ASSERT_GT(whole.size(), 2u);
    // Piece by piece at every character boundary.
    Lines lines;
    LineWrapper wrapper(kNarrow, [&](std::string_view line) { lines.emplace_back(line); });
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        CodePointAt(text, at, length);
        wrapper.Text(std::string_view(text).substr(at, length), false);
    }
    wrapper.Text("", true);
    EXPECT_EQ(lines, whole);
}

TEST(LineWrapper, ALineOfThreeHundredColumnsTakesThreeOfAHundred) {
    const ListingStyle style{100, U'?', U'\\'};
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "abcdefghi" + std::to_string(i % 10);
    }
    const Lines lines = Printed(text, style);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], text.substr(0, 100) + "\\");
    EXPECT_EQ(lines[1], text.substr(100, 100) + "\\");
    EXPECT_EQ(lines[2], text.substr(200));
    // A line of exactly a hundred columns, Chinese, needs no mark.
    std::string chinese;
    for (int i = 0; i < 50; ++i) {
        chinese += "字";
    }
    EXPECT_EQ(Printed(chinese, style), Lines{chinese});
    EXPECT_EQ(Printed(chinese + "a", style), (Lines{chinese + "\\", "a"}));
}

TEST(LineWrapper, NoLinePrintsWiderThanItsBytes) {
    // Every character that takes two columns is two bytes or more in UTF-8.
    for (char32_t c = 0; c < 0x110000; c += (c < 0x30000 ? 1 : 0x100)) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const int columns = ListingColumns(c);
        const int bytes = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        ASSERT_LE(columns, bytes) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(ListingColumns, WideByTheUnicodeTables) {
    struct Case {
        char32_t c;
        int columns;
    };
    const Case cases[] = {
        {U'A', 1},    {U' ', 1},     {0x00A0, 1},   {0x00A1, 2}, {0x00D7, 2},
        {0x00E9, 2},  {0x0391, 2},   {0x0410, 2},   {0x1100, 2}, {0x115F, 2},
        {0x1160, 1},  {0x2460, 2},   {0x2501, 2},   {0x3000, 2}, {0x4E2D, 2},
        {0xFEFF, 1},  {0xFF01, 2},   {0xFF61, 1},   {0x20AC, 1}, {0xFFFD, 1},
        {0x20000, 2}, {0x10FFFD, 2}, {0x10FFFE, 1}, {0xE000, 2}, {0x0300, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListingColumns(c.c), c.columns) << std::hex << static_cast<unsigned>(c.c);
    }
    for (const char32_t control : {0x00, 0x08, 0x0A, 0x1F, 0x7F, 0x80, 0x9F}) {
        EXPECT_TRUE(IsControlCharacter(control)) << static_cast<unsigned>(control);
    }
    for (const char32_t other : {0x09, 0x20, 0x7E, 0xA0, 0xFFFD}) {
        EXPECT_FALSE(IsControlCharacter(other)) << static_cast<unsigned>(other);
    }
}

TEST(PrintableText, TurnsTabsAndControlsIntoWhatIsPrinted) {
    EXPECT_EQ(PrintableText("教务\t系统\x07 V1.0", kNarrow), "教务    系统~ V1.0");
    EXPECT_EQ(PrintedColumns("教务    系统~ V1.0"), 18);
    EXPECT_EQ(PrintedColumns(""), 0);
}

TEST(ListingPages, FiftyLinesAPageAndTheFirstAndLastThirty) {
    struct Case {
        std::int64_t printed, pages;
    };
    const Case counts[] = {{0, 0},     {1, 1},     {49, 1},    {50, 1},    {51, 2},
                           {2950, 59}, {3000, 60}, {3001, 61}, {6500, 130}};
    for (const Case& c : counts) {
        EXPECT_EQ(PagesFor(c.printed), c.pages) << c.printed;
    }
    using Ranges = std::vector<PageRange>;
    EXPECT_EQ(DepositedPages(0, false), Ranges{});
    EXPECT_EQ(DepositedPages(0, true), Ranges{});
    EXPECT_EQ(DepositedPages(1, false), (Ranges{{1, 1}}));
    EXPECT_EQ(DepositedPages(59, false), (Ranges{{1, 59}}));
    EXPECT_EQ(DepositedPages(60, false), (Ranges{{1, 60}}));
    EXPECT_EQ(DepositedPages(61, false), (Ranges{{1, 30}, {32, 61}}));
    EXPECT_EQ(DepositedPages(130, false), (Ranges{{1, 30}, {101, 130}}));
    EXPECT_EQ(DepositedPages(130, true), (Ranges{{1, 130}}));
    EXPECT_EQ(DepositedPages(61, false)[1].Count(), 30);
}

class Collect : public TextLineSink {
public:
    void Text(std::string_view utf8, bool endsLine) override {
        text += utf8;
        ++pieces;
        lines += endsLine;
    }
    std::string text;
    int pieces = 0;
    int lines = 0;
};

// A long line decoded in parts reads as the whole line decoded at once, wherever the
// pieces it comes in were cut.
TEST(LineDecoder, LongLinesDecodeAsAWhole) {
    struct Case {
        TextEncoding encoding;
        std::string unit;
    };
    const Case cases[] = {{TextEncoding::Ansi, "\xD6\xD0\xCE\xC4 a\xB0"},
                          {TextEncoding::Ansi, "\xB0\xA1\x81\x30\x80"},
                          {TextEncoding::Utf8, "\xE4\xB8\xAD\xE6\x96\x87 x\xE4\xB8"},
                          {TextEncoding::Utf8, "\xF0\x9F\x98\x80\x80"}};
    for (const Case& c : cases) {
        std::string line;
        while (line.size() < 3 * CountedLineReader::kMaxPieceBytes) {
            line += c.unit;
        }
        const std::string expected = DecodeText(line, c.encoding);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4093}}) {
            Collect collect;
            LineDecoder decoder(collect);
            decoder.Begin(c.encoding);
            for (std::size_t at = 0; at < line.size(); at += piece) {
                decoder.Piece(std::string_view(line).substr(at, piece), false);
            }
            decoder.Piece("", true);
            EXPECT_EQ(collect.lines, 1);
            EXPECT_GT(collect.pieces, 2) << "passed on in parts";
            EXPECT_TRUE(collect.text == expected) << "pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace tallix
