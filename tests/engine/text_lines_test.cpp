#include "engine/text_lines.h"

#include <gtest/gtest.h>

namespace tallix {
namespace {

using Lines = std::vector<std::string>;

Lines SplitInBlocks(std::string_view bytes, std::size_t blockSize) {
    Lines lines;
    TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); });
    for (std::size_t at = 0; at < bytes.size(); at += blockSize)
        reader.Feed(bytes.substr(at, blockSize));
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
    for (std::size_t block = 1; block <= text.size(); ++block)
        EXPECT_EQ(SplitInBlocks(text, block), whole) << "block size " << block;
}

TEST(TextLines, DecodesCodePage936) {
    // "乗" is 0x81 0x5C: its second byte is a backslash when read as bytes.
    EXPECT_EQ(SplitTextLines("\xD6\xD0\xCE\xC4\r\n\x81\x5C"), (Lines{"中文", "乗"}));
    EXPECT_EQ(SplitTextLines("\x80"), Lines{"€"});
}

TEST(TextLines, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(SplitTextLines("a\xFF"
                             "b"),
              Lines{"a\xEF\xBF\xBD"
                    "b"});
    // A lead byte at the end of a line has no partner; the line end is kept.
    EXPECT_EQ(SplitTextLines("a\xD6\r\nb"), (Lines{"a\xEF\xBF\xBD", "b"}));
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
