// The order a deposit looks for its font in, and which file it takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "font_files.h"
#include "persistence/deposit/font_search.h"
#include "temp_dir.h"

namespace tallix {

void PrintTo(const FontCandidate& c, std::ostream* out) {
    *out << c.path << " (" << c.family << " at " << c.likelyIndex << ")";
}

namespace {

using testing::PlaceNoto;

TEST(WindowsFontCandidates, ProgramFolderFirstThenNSimSunThenInstalledNoto) {
    const std::vector<FontCandidate> expected = {
        {"D:\\软件\\Tallix\\NotoSansCJK-Regular.ttc", "Noto Sans Mono CJK SC", 7},
        {"C:\\Windows\\Fonts\\simsun.ttc", "NSimSun", 1},
        {"C:\\Windows\\Fonts\\NotoSansMonoCJKsc-Regular.otf", "Noto Sans Mono CJK SC", 0},
        {"C:\\Windows\\Fonts\\NotoSansCJK-Regular.ttc", "Noto Sans Mono CJK SC", 7},
        {"C:\\Users\\李\\Fonts\\NotoSansMonoCJKsc-Regular.otf", "Noto Sans Mono CJK SC", 0},
        {"C:\\Users\\李\\Fonts\\NotoSansCJK-Regular.ttc", "Noto Sans Mono CJK SC", 7},
    };
    EXPECT_EQ(
        WindowsFontCandidates("D:\\软件\\Tallix", "C:\\Windows\\Fonts", "C:\\Users\\李\\Fonts"),
        expected);
}

TEST(WindowsFontCandidates, FoldersNotKnownAreLeftOut) {
    const auto noUser = WindowsFontCandidates("P", "W", "");
    ASSERT_EQ(noUser.size(), 4u);
    EXPECT_EQ(noUser.back().path, "W\\NotoSansCJK-Regular.ttc");
    const auto onlyUser = WindowsFontCandidates("", "", "U");
    ASSERT_EQ(onlyUser.size(), 2u);
    EXPECT_EQ(onlyUser.front().path, "U\\NotoSansMonoCJKsc-Regular.otf");
    EXPECT_TRUE(WindowsFontCandidates("", "", "").empty());
}

// A program folder, a system fonts folder and a user fonts folder, in Chinese, under a
// temporary folder, with the font files each case puts there.
class FirstFontFoundIn : public ::testing::Test {
protected:
    // The candidates for these folders; off Windows with the host's separator, so that the
    // same cases run on both.
    std::vector<FontCandidate> Candidates() const {
        auto candidates =
            WindowsFontCandidates(dir.Str(kProgram), dir.Str(kSystem), dir.Str(kUser));
        for (FontCandidate& candidate : candidates) {
            std::replace(candidate.path.begin(), candidate.path.end(), '\\', testing::kSeparator);
        }
        return candidates;
    }
    std::string Put(const char* folder, const char* name) const {
        return PlaceNoto(dir, std::string(folder) + "/" + name);
    }
    std::string PutBytes(const char* folder, const char* name, const std::string& bytes) const {
        return dir.Write(std::string(folder) + "/" + name, bytes);
    }
    // The folder and file the font was found in, "-" when none was.
    std::string Found() const {
        const auto font = FirstFontFound(Candidates());
        if (!font) {
            return "-";
        }
        const std::string root = dir.Str() + testing::kSeparator;
        std::string where = font->path.substr(0, root.size()) == root
                                ? font->path.substr(root.size())
                                : "elsewhere: " + font->path;
        std::replace(where.begin(), where.end(), testing::kSeparator, '/');
        return where + " #" + std::to_string(font->faceIndex);
    }

    static constexpr const char* kProgram = "程序 文件/Tallix";
    static constexpr const char* kSystem = "视窗/Fonts";
    static constexpr const char* kUser = "用户/李/Fonts";
    testing::TempDir dir;
};

TEST_F(FirstFontFoundIn, TheProgramFolderBeforeTheSystem) {
    Put(kSystem, "NotoSansCJK-Regular.ttc");
    Put(kUser, "NotoSansCJK-Regular.ttc");
    Put(kProgram, "NotoSansCJK-Regular.ttc");
    EXPECT_EQ(Found(), "程序 文件/Tallix/NotoSansCJK-Regular.ttc #7");
}

TEST_F(FirstFontFoundIn, TheSystemWhenTheProgramFolderHasNone) {
    Put(kUser, "NotoSansCJK-Regular.ttc");
    Put(kSystem, "NotoSansCJK-Regular.ttc");
    EXPECT_EQ(Found(), "视窗/Fonts/NotoSansCJK-Regular.ttc #7");
}

TEST_F(FirstFontFoundIn, TheUserFolderLast) {
    Put(kUser, "NotoSansCJK-Regular.ttc");
    EXPECT_EQ(Found(), "用户/李/Fonts/NotoSansCJK-Regular.ttc #7");
}

TEST_F(FirstFontFoundIn, ADamagedShippedFontIsPassedOver) {
    Put(kSystem, "NotoSansCJK-Regular.ttc");
    PutBytes(kProgram, "NotoSansCJK-Regular.ttc", std::string(4096, '\xff'));
    EXPECT_EQ(Found(), "视窗/Fonts/NotoSansCJK-Regular.ttc #7");
}

TEST_F(FirstFontFoundIn, ASimsunWithoutNSimSunIsPassedOver) {
    // Here simsun.ttc is Noto's collection under another name: no face of it is NSimSun.
    Put(kSystem, "simsun.ttc");
    EXPECT_EQ(Found(), "-");
    Put(kUser, "NotoSansCJK-Regular.ttc");
    EXPECT_EQ(Found(), "用户/李/Fonts/NotoSansCJK-Regular.ttc #7");
}

TEST_F(FirstFontFoundIn, TheFaceIsFoundByFamilyNotByPlace) {
    // Under the name of the one-face font, the collection's mono SC face is still face 7.
    Put(kSystem, "NotoSansMonoCJKsc-Regular.otf");
    EXPECT_EQ(Found(), "视窗/Fonts/NotoSansMonoCJKsc-Regular.otf #7");
}

TEST_F(FirstFontFoundIn, NothingAnywhere) {
    PutBytes(kSystem, "simsun.ttc", "");
    EXPECT_EQ(Found(), "-");
    EXPECT_EQ(FirstFontFound({}), std::nullopt);
}

}  // namespace
}  // namespace tallix
