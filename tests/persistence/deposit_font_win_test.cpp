// The deposit's font on Windows: the one beside the program, as the build and the setup put
// it there, and the system's NSimSun where there is one.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/text/wide_text.h"
#include "persistence/deposit/deposit_font.h"
#include "persistence/deposit/font_face.h"

namespace tallix {
namespace {

std::string ProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring program(path, length);
    return WideToUtf8(program.substr(0, program.find_last_of(L'\\')));
}

TEST(DepositFontOnWindows, TheFontBesideTheProgram) {
    const auto font = FindDepositFont();
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->path, ProgramFolder() + "\\NotoSansCJK-Regular.ttc");
    EXPECT_EQ(font->faceIndex, 7);
}

TEST(DepositFontOnWindows, NSimSunIsTheSecondFaceOfSimsun) {
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string simsun = WideToUtf8(std::wstring(windows, length)) + "\\Fonts\\simsun.ttc";
    if (::GetFileAttributesW(Utf8ToWide(simsun).c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no " << simsun << " on this system";
    }
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FindFaceOfFamily(library, simsun, "SimSun", 1), 0);
    EXPECT_EQ(FindFaceOfFamily(library, simsun, "NSimSun", 0), 1);
    FT_Done_FreeType(library);
}

}  // namespace
}  // namespace tallix
