// Opening font faces through the platform's own file names, and finding a face by family.

#include <gtest/gtest.h>

#include <string>

#include "font_files.h"
#include "persistence/deposit/font_face.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using testing::PlaceNoto;
using testing::PlaceTruncatedNoto;

class FontFace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FT_Init_FreeType(&library), 0); }
    void TearDown() override { FT_Done_FreeType(library); }

    // The family of face index of path, or the error's number in brackets.
    std::string FamilyOf(const std::string& path, int index) {
        FT_Face face = nullptr;
        const FT_Error error = OpenFontFace(library, {path, index}, &face);
        if (error != 0) {
            return "[" + std::to_string(error) + "]";
        }
        std::string family = face->family_name;
        FT_Done_Face(face);
        return family;
    }

    FT_Library library = nullptr;
    testing::TempDir dir;
};

TEST_F(FontFace, OpensEachFaceOfACollectionInAChineseFolder) {
    const std::string path = PlaceNoto(dir, "软件/字体 文件夹/NotoSansCJK-Regular.ttc");
    struct Case {
        int index;
        const char* family;
    };
    const Case cases[] = {
        {0, "Noto Sans CJK JP"},      {2, "Noto Sans CJK SC"},      {5, "Noto Sans Mono CJK JP"},
        {7, "Noto Sans Mono CJK SC"}, {9, "Noto Sans Mono CJK HK"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FamilyOf(path, c.index), c.family) << "face " << c.index;
    }
}

TEST_F(FontFace, ReadsGlyphsFromAnywhereInTheFile) {
    // The outlines sit deep in the 19 MB file: a stream that read only its start, or read
    // at the wrong offset, gives no outline or a broken one.
    const std::string path = PlaceNoto(dir, "字体.ttc");
    FT_Face face = nullptr;
    ASSERT_EQ(OpenFontFace(library, {path, 7}, &face), 0);
    ASSERT_EQ(FT_Set_Char_Size(face, 0, 10 * 64, 72, 72), 0);
    for (const char32_t c : {U'O', U'计', U'绩', U'\u9fa5'}) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        ASSERT_NE(glyph, 0u) << static_cast<unsigned>(c);
        ASSERT_EQ(FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING), 0) << static_cast<unsigned>(c);
        EXPECT_GT(face->glyph->outline.n_points, 4) << static_cast<unsigned>(c);
    }
    // Monospaced: a Latin letter takes half the advance of a Chinese character.
    ASSERT_EQ(FT_Load_Char(face, U'O', FT_LOAD_NO_HINTING), 0);
    const FT_Pos latin = face->glyph->advance.x;
    ASSERT_EQ(FT_Load_Char(face, U'计', FT_LOAD_NO_HINTING), 0);
    EXPECT_EQ(face->glyph->advance.x, 2 * latin);
    FT_Done_Face(face);
}

TEST_F(FontFace, FilesThatAreNoFontAreRefused) {
    std::filesystem::create_directories(dir.path() / "folder.ttc");
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing", dir.Str("missing.ttc")},
        {"a folder", dir.Str("folder.ttc")},
        {"empty", dir.Write("empty.ttc", "")},
        {"text", dir.Write("text.ttc", "Option Explicit\r\n")},
        {"cut short", PlaceTruncatedNoto(dir, "cut.ttc", 70000)},
        {"empty path", ""},
    };
    for (const Case& c : cases) {
        FT_Face face = nullptr;
        EXPECT_NE(OpenFontFace(library, {c.path, 0}, &face), 0) << c.name;
        EXPECT_EQ(face, nullptr) << c.name;
    }
}

TEST_F(FontFace, AFaceBeyondTheCollectionIsRefused) {
    const std::string path = PlaceNoto(dir, "c.ttc");
    FT_Face face = nullptr;
    EXPECT_NE(OpenFontFace(library, {path, 10}, &face), 0);
    EXPECT_NE(OpenFontFace(nullptr, {path, 0}, &face), 0);
    EXPECT_NE(OpenFontFace(library, {path, 0}, nullptr), 0);
}

TEST_F(FontFace, TheFileIsClosedWhenTheFaceIsDoneOrRefused) {
    // Windows refuses to remove a file that is still open: a handle left behind would keep
    // the font from being replaced or uninstalled while the program runs.
    const std::string opened = PlaceNoto(dir, "打开.ttc");
    FT_Face face = nullptr;
    ASSERT_EQ(OpenFontFace(library, {opened, 7}, &face), 0);
    FT_Done_Face(face);
    EXPECT_TRUE(std::filesystem::remove(testing::FromUtf8(opened)));

    const std::string refused = PlaceNoto(dir, "拒绝.ttc");
    ASSERT_NE(OpenFontFace(library, {refused, 10}, &face), 0);
    EXPECT_TRUE(std::filesystem::remove(testing::FromUtf8(refused)));
}

TEST_F(FontFace, FindsAFaceByFamilyWhereverItIs) {
    const std::string path = PlaceNoto(dir, "集合/c.ttc");
    const std::string text = dir.Write("t.ttc", "not a font");
    struct Case {
        std::string path;
        const char* family;
        int likelyIndex;
        std::optional<int> found;
    };
    const Case cases[] = {
        {path, "Noto Sans Mono CJK SC", 7, 7},
        {path, "Noto Sans Mono CJK SC", 0, 7},
        {path, "Noto Sans Mono CJK SC", 99, 7},
        {path, "Noto Sans Mono CJK SC", -1, 7},
        {path, "Noto Sans CJK JP", 7, 0},
        {path, "Noto Sans Mono CJK HK", 3, 9},
        {path, "Noto Sans Mono CJK", 7, std::nullopt},
        {path, "noto sans mono cjk sc", 7, std::nullopt},
        {path, "NSimSun", 1, std::nullopt},
        {text, "Noto Sans Mono CJK SC", 7, std::nullopt},
        {dir.Str("none.ttc"), "Noto Sans Mono CJK SC", 7, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindFaceOfFamily(library, c.path, c.family, c.likelyIndex), c.found)
            << c.family << " likely at " << c.likelyIndex;
    }
}

}  // namespace
}  // namespace tallix
