#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tallix::cli {
namespace {

using namespace std::string_literals;

TEST(DisplayWidth, WideCharactersTakeTwoColumns) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("abc 12"), 6u);
    EXPECT_EQ(DisplayWidth("统计行数"), 8u);
    EXPECT_EQ(DisplayWidth("a（b）"), 6u);  // full-width brackets
    EXPECT_EQ(DisplayWidth("é"), 1u);
    EXPECT_EQ(DisplayWidth("\xFF"), 1u);  // a stray byte still takes a column
}

TEST(ShowControls, EscapesWhatATerminalWouldActOnAndKeepsTheRest) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Forms\\工具 1.frm", "Forms\\工具 1.frm"},
        {"", ""},
        {"a\x1B[2Jb", "a\\x1B[2Jb"},
        {"\t\r\n", "\\x09\\x0D\\x0A"},
        {"nul\0end"s, "nul\\x00end"},
        {"\x1F \x7F", "\\x1F \\x7F"},
        {"\xC2\x9B"
         "31m",
         "\\u009B31m"},  // C1 control introducer
        {"\xC2\x80\xC2\x9F", "\\u0080\\u009F"},
        {"\xC2\xA0\xC2\xA9", "\xC2\xA0\xC2\xA9"},  // first characters past the C1 block
        {"\xFF\xFE", "\\xFF\\xFE"},
        {"\xE5\xB7", "\\xE5\\xB7"},    // cut short at the end
        {"\xE5\xB7x", "\\xE5\\xB7x"},  // cut short before an ASCII letter
        {"\xC0\x9B", "\\xC0\\x9B"},    // overlong ESC
        {"\xE0\x80\x9B", "\\xE0\\x80\\x9B"},
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},           // surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        // The controls of bidirectional text, which can make a name read as another.
        {"invoice\u202Etxt.exe", "invoice\\u202Etxt.exe"},
        {"\u061C\u200E\u200F\u202A\u202D", "\\u061C\\u200E\\u200F\\u202A\\u202D"},
        {"\u2066\u2069", "\\u2066\\u2069"},
        // Their neighbours are ordinary characters.
        {"\u200D\u2029\u202F\u2065\u206A", "\u200D\u2029\u202F\u2065\u206A"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ShowControls(text), shown) << text;
    }
}

}  // namespace
}  // namespace tallix::cli
