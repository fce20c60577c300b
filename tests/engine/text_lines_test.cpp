#include "engine/text/text_lines.h"

#include <gtest/gtest.h>

#include "engine/text/codepage.h"

namespace tallix {
namespace {

using Lines = std::vector<std::string>;

Lines SplitInBlocks(std::string_view bytes, std::size_t blockSize) {
    Lines lines;
    TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); });
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        reader.Feed(bytes.substr(at, blockSize));
    }
    reader.Finish();
    return lines;
}

TEST(TextLines, EndsLinesAtCrLfCrAndLf) {
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two line ends
    EXPECT_EQ(SplitTextLines("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(TextLines, FinalLineEndAddsNoEmptyLine) {
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitTextLines("a\r"), Lines{"a"});
    EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (Lines{"a", ""}));
}

TEST(TextLines, BlockBoundariesDoNotChangeTheLines) {
    const std::string text = "Form=a.frm\r\n\r\nModule=M; b.bas\rClass=C; c.cls\n\r\n\xD6\xD0\r\n";
    const Lines whole = SplitTextLines(text);
    for (std::size_t block = 1; block <= text.size(); ++block) {
        EXPECT_EQ(SplitInBlocks(text, block), whole) << "block size " << block;
    }
}

TEST(TextLines, DecodesCodePage936) {
    // "乗" is 0x81 0x5C: its second byte is a backslash when read as bytes.
    EXPECT_EQ(SplitTextLines("\xD6\xD0\xCE\xC4\r\n\x81\x5C"), (Lines{"中文", "乗"}));
    EXPECT_EQ(SplitTextLines("\x80"), Lines{"€"});
}

TEST(TextLines, EmptyCellsDecodeToWindowsPrivateUseCharacters) {
    // The user-defined areas, row by row without 0x7F, and then every other cell GBK leaves
    // empty, as Windows maps them; each comes back to its bytes.
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"\xAA\xA1", "\uE000"}, {"\xAA\xFE", "\uE05D"}, {"\xAB\xA1", "\uE05E"},
        {"\xAF\xFE", "\uE233"}, {"\xF8\xA1", "\uE234"}, {"\xFE\xFE", "\uE4C5"},
        {"\xA1\x40", "\uE4C6"}, {"\xA1\x7E", "\uE504"}, {"\xA1\x80", "\uE505"},
        {"\xA1\xA0", "\uE525"}, {"\xA2\x40", "\uE526"}, {"\xA7\xA0", "\uE765"},
        {"\xA2\xAB", "\uE766"}, {"\xA6\xF3", "\uE796"}, {"\xD7\xFE", "\uE814"},
        {"\xFE\x50", "\uE815"}, {"\xFE\x7E", "\uE843"}, {"\xFE\x80", "\uE844"},
        {"\xFE\xA0", "\uE864"},
    };
    for (const auto& [bytes, character] : cases) {
        EXPECT_EQ(AnsiToUtf8(bytes), character) << testing::PrintToString(bytes);
        EXPECT_EQ(Utf8ToAnsi(character), bytes) << testing::PrintToString(bytes);
    }
    EXPECT_EQ(Utf8ToAnsi("\uE865"), "?");
}

TEST(TextLines, EveryDoubleByteCellIsOneCharacterBothWays) {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string cell{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string decoded = AnsiToUtf8(cell + "\\");
            ASSERT_EQ(decoded.back(), '\\') << testing::PrintToString(cell);
            ASSERT_EQ(decoded.find("\uFFFD"), std::string::npos) << testing::PrintToString(cell);
            ASSERT_EQ(Utf8ToAnsi(decoded), cell + "\\") << testing::PrintToString(cell);
        }
    }
}

TEST(TextLines, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(SplitTextLines("a\xFF"
                             "b"),
              Lines{"a\xEF\xBF\xBD"
                    "b"});
    // A lead byte at the end of a line has no partner; the line end is kept.
    EXPECT_EQ(SplitTextLines("a\xD6\r\nb"), (Lines{"a\xEF\xBF\xBD", "b"}));
    // A byte that cannot trail stands alone, and so does what follows it.
    EXPECT_EQ(AnsiToUtf8("\xA1\x7F\\"), "\uFFFD\x7F\\");
    EXPECT_EQ(AnsiToUtf8("\xFF\xAA\xA1"), "\uFFFD\uE000");
    EXPECT_EQ(AnsiToUtf8("\xAA"), "\uFFFD");
    // A user-defined cell never swallows the backslash after it.
    EXPECT_EQ(SplitTextLines("Form=d\xAA\xB0\\ok.bas"), Lines{"Form=d\uE00F\\ok.bas"});
}

TEST(TextLines, OverlongLinesAreCutAndMarked) {
    constexpr std::size_t kMax = TextLineReader::kMaxLineBytes;
    const std::string mark(TextLineReader::kCutMark);
    const std::string full(kMax, 'a');
    const std::string text = full + "\r\n" + full + "bc\r\n" + "\xD6\xD0" + full + "\rlast";
    const Lines expected{full, full + mark, "中" + std::string(kMax - 2, 'a') + mark, "last"};
    EXPECT_EQ(SplitTextLines(text), expected);
    for (std::size_t block : {std::size_t{1000}, std::size_t{4096}, kMax - 1, kMax + 1}) {
        EXPECT_EQ(SplitInBlocks(text, block), expected) << "block size " << block;
    }
    // The last line, unterminated, is cut the same way.
    EXPECT_EQ(SplitInBlocks(full + "b", 7000), Lines{full + mark});
    EXPECT_EQ(mark.find('\0'), 1u);
}

TEST(TextLines, ByteOrderMarkSelectsUtf8AndStays) {
    EXPECT_EQ(SplitTextLines("\xEF\xBB\xBF中\r\n文"), (Lines{"\xEF\xBB\xBF中", "文"}));
    // Without the mark the same bytes are code page 936, never UTF-8.
    EXPECT_NE(SplitTextLines("中"), Lines{"中"});
    // Ill-formed UTF-8 after a mark is replaced, not passed on.
    EXPECT_EQ(SplitTextLines("\xEF\xBB\xBF\xC0\xAF"),
              Lines{"\xEF\xBB\xBF\xEF\xBF\xBD\xEF\xBF\xBD"});
}

TEST(TextLines, SanitizeUtf8RejectsOverlongsAndSurrogates) {
    EXPECT_EQ(SanitizeUtf8("\xE0\x80\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80").substr(0, 3), "\xEF\xBF\xBD");
    EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80").substr(0, 3), "\xEF\xBF\xBD");
    EXPECT_EQ(SanitizeUtf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}

TEST(TextLines, TrimRemovesSpacesOnly) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
}

}  // namespace
}  // namespace tallix
