// The deposit's font on Windows: the one beside the program, as the build and the setup put
// it there, and the system's NSimSun where there is one.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/text/wide_text.h"
#include "font_files.h"
#include "persistence/deposit/deposit_font.h"
#include "persistence/deposit/font_face.h"
#include "temp_dir.h"

namespace tallix {
namespace {

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, length);
}

std::string ProgramFolder() {
    const std::wstring program = ProgramPath();
    return WideToUtf8(program.substr(0, program.find_last_of(L'\\')));
}

std::string SystemFont(const char* name) {
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    return WideToUtf8(std::wstring(windows, length)) + "\\Fonts\\" + name;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs program with LOCALAPPDATA set to localAppData, to write what FindDepositFont finds
// there into report; returns the report ("-" when nothing was found).
std::string FoundByCopy(const std::filesystem::path& program, const std::string& localAppData,
                        const std::filesystem::path& report) {
    std::filesystem::remove(report);
    wchar_t saved[32768];
    const DWORD savedLength = ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, 32768);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", Utf8ToWide(localAppData).c_str());
    ::SetEnvironmentVariableW(L"TALLIX_DEPOSIT_FONT_REPORT", report.wstring().c_str());
    std::wstring command = L"\"" + program.wstring() +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=DepositFontOnWindows.DISABLED_WriteTheFontFound";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableW(L"TALLIX_DEPOSIT_FONT_REPORT", nullptr);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", savedLength > 0 ? saved : nullptr);
    if (!started) {
        return "could not start the copy";
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::ifstream in(report, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a copy of this program, started by FoundByCopy, writes.
TEST(DepositFontOnWindows, DISABLED_WriteTheFontFound) {
    const auto font = FindDepositFont();
    std::ofstream out(std::filesystem::path(Utf8ToWide(std::getenv("TALLIX_DEPOSIT_FONT_REPORT"))),
                      std::ios::binary);
    out << (font ? font->path + " #" + std::to_string(font->faceIndex) : "-");
}

TEST(DepositFontOnWindows, TheFontBesideTheProgram) {
    const auto font = FindDepositFont();
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->path, ProgramFolder() + "\\NotoSansCJK-Regular.ttc");
    EXPECT_EQ(font->faceIndex, 7);
}

TEST(DepositFontOnWindows, WithoutTheProgramsOwnTheSystemsThenTheUsers) {
    // A copy of this program in a folder without the font, and a user whose fonts folder
    // (under LOCALAPPDATA) has Noto's collection.
    testing::TempDir dir;
    const auto copy = dir.path() / testing::FromUtf8("无字体/test.exe");
    std::filesystem::create_directories(copy.parent_path());
    std::filesystem::copy_file(ProgramPath(), copy);
    const std::string local = dir.Str("用户 李/AppData/Local");
    const std::string userFont = testing::PlaceNoto(
        dir, "用户 李/AppData/Local/Microsoft/Windows/Fonts/NotoSansCJK-Regular.ttc");
    const auto report = dir.path() / "found.txt";

    std::string expected = userFont + " #7";
    if (Exists(SystemFont("simsun.ttc"))) {
        expected = SystemFont("simsun.ttc") + " #1";
    } else if (Exists(SystemFont("NotoSansMonoCJKsc-Regular.otf")) ||
               Exists(SystemFont("NotoSansCJK-Regular.ttc"))) {
        GTEST_SKIP() << "this system has Noto Sans Mono CJK SC installed";
    }
    EXPECT_EQ(FoundByCopy(copy, local, report), expected);

    std::filesystem::remove(testing::FromUtf8(userFont));
    if (!Exists(SystemFont("simsun.ttc"))) {
        EXPECT_EQ(FoundByCopy(copy, local, report), "-");
    }
}

TEST(DepositFontOnWindows, NSimSunIsTheSecondFaceOfSimsun) {
    const std::string simsun = SystemFont("simsun.ttc");
    if (!Exists(simsun)) {
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
