// Code page 936 through the Win32 conversion functions: the parts where Windows' own table
// and flags decide the result, beyond what the shared decoding tests already pin down.

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/text/codepage.h"
#include "engine/text/text_decoding.h"

namespace tallix {
namespace {

TEST(WindowsCodePage, UserDefinedAreaDecodesToPrivateUseCharacters) {
    // Windows maps GBK's user-defined rows to the private-use area and back; iconv's CP936
    // has no characters there. A project written on Windows may use them in names.
    ASSERT_EQ(::GetACP(), 936u);
    EXPECT_EQ(AnsiToUtf8("\xAA\xA1"), "\xEE\x80\x80");  // U+E000
    EXPECT_EQ(AnsiToUtf8("\xA1\x40"), "\xEE\x93\x86");  // U+E4C6
    EXPECT_EQ(Utf8ToAnsi("\xEE\x80\x80"), "\xAA\xA1");
}

TEST(WindowsCodePage, BrokenSequencesGiveOneReplacementPerByte) {
    const std::string bad = "\xEF\xBF\xBD";
    // A lead byte followed by a byte that cannot trail it: the second byte stands alone.
    EXPECT_EQ(AnsiToUtf8("\x81\x0A"
                         "a"),
              bad + "\na");
    EXPECT_EQ(AnsiToUtf8("\xB0\xA1\xFF\xB0"), "啊" + bad + bad);
    EXPECT_EQ(AnsiToUtf8("\x81\x7F"), bad + "\x7F");
    // A valid character after a broken one is decoded as usual, its backslash included.
    EXPECT_EQ(AnsiToUtf8("\xFF\x81\x5C\\"), bad + "乗\\");
    EXPECT_EQ(DecodeText("\xD6\xD0\xFF", TextEncoding::Ansi), "中" + bad);
}

TEST(WindowsCodePage, EncodingUsesNoLookAlikes) {
    // Without WC_NO_BEST_FIT_CHARS Windows would write "À" as "à" (0xA8 0xA4).
    EXPECT_EQ(Utf8ToAnsi("À"), "?");
    EXPECT_EQ(Utf8ToAnsi("à"), "\xA8\xA4");
    // A character beyond the basic plane is one "?", not one per UTF-16 half.
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"
                         "b"),
              "a?b");
    EXPECT_EQ(Utf8ToAnsi("文件名称：乗\\"), "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA\x81\x5C\\");
    EXPECT_EQ(Utf8ToAnsi(""), "");
}

}  // namespace
}  // namespace tallix
