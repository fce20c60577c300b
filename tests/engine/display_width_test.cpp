#include "engine/text/display_width.h"

#include <gtest/gtest.h>

#include <string>

namespace tallix {
namespace {

TEST(CodePointAt, DecodesOneCharacterOrTakesAByteAlone) {
    struct Case {
        std::string text;
        std::size_t at;
        char32_t point;
        std::size_t length;
    };
    const Case cases[] = {
        {"a", 0, U'a', 1},
        {"\xC3\xA9", 0, 0xE9, 2},
        {"x\xE4\xB8\xAD", 1, 0x4E2D, 3},
        {"\xF0\x9F\x98\x80", 0, 0x1F600, 4},
        {"\xE4\xB8", 0, 0xE4, 1},  // cut short: the lead byte alone
        {"\xFF", 0, 0xFF, 1},
        {"\x80", 0, 0x80, 1},
    };
    for (const Case& c : cases) {
        std::size_t length = 0;
        EXPECT_EQ(CodePointAt(c.text, c.at, length), c.point) << ::testing::PrintToString(c.text);
        EXPECT_EQ(length, c.length) << ::testing::PrintToString(c.text);
    }
}

TEST(DisplayWidth, TerminalsAndChineseTextDifferOnAmbiguousCharacters) {
    struct Case {
        char32_t c;
        bool terminal;
        bool chinese;
    };
    const Case cases[] = {
        {U'A', false, false},    {0x4E2D, true, true},     {0xFF21, true, true},
        {0x3000, true, true},    {0x00D7, false, true},    {0x2501, false, true},
        {0x2460, false, true},   {0x0430, false, true},    {0x00A1, false, true},
        {0x00A0, false, false},  {0x10FF, false, false},   {0x1100, true, true},
        {0xFFE6, true, true},    {0xFFE7, false, false},   {0x3134A, true, true},
        {0x10FFFD, false, true}, {0x10FFFF, false, false}, {0x00A4, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWide(c.c), c.terminal) << std::hex << static_cast<unsigned>(c.c);
        EXPECT_EQ(IsWideInChineseText(c.c), c.chinese) << std::hex << static_cast<unsigned>(c.c);
    }
}

}  // namespace
}  // namespace tallix
