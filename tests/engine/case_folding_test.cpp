#include "engine/text/case_folding.h"

#include <gtest/gtest.h>

#include "engine/files/name_matching.h"

namespace tallix {
namespace {

TEST(CaseFolding, FoldsSimpleCaseBeyondAscii) {
    const std::pair<char32_t, char32_t> cases[] = {
        {U'A', U'a'},      {U'Z', U'z'},           {U'a', U'a'},
        {U'@', U'@'},      {U'[', U'['},           {U'Ф', U'ф'},            // Cyrillic
        {U'Ѐ', U'ѐ'},      {U'Σ', U'σ'},           {U'ς', U'σ'},            // final sigma: C
        {U'Ａ', U'ａ'},    {U'Ｚ', U'ｚ'},         {U'ｚ', U'ｚ'},          // full-width Latin
        {U'\u212A', U'k'}, {U'Ā', U'ā'},           {U'ā', U'ā'},            // every other one
        {U'Į', U'į'},      {U'\u1E9E', U'ß'},      {U'\u0130', U'\u0130'},  // S; T and F only
        {U'ı', U'ı'},      {U'µ', U'μ'},           {U'\U00010400', U'\U00010428'},
        {U'中', U'中'},    {U'\uE000', U'\uE000'}, {U'\U0010FFFF', U'\U0010FFFF'},
    };
    for (const auto& [c, folded] : cases) {
        EXPECT_EQ(FoldCase(c), folded) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

TEST(CaseFolding, NamesCompareByFoldedCharacters) {
    EXPECT_TRUE(EqualIgnoringCase("ФАЙЛ.bas", "файл.BAS"));
    EXPECT_TRUE(EqualIgnoringCase("ＭＯＤ.bas", "ｍｏｄ.bas"));
    EXPECT_TRUE(EqualIgnoringCase("ΣΟΦΟΣ", "σοφος"));
    EXPECT_FALSE(EqualIgnoringCase("файл.bas", "файл.bat"));
    EXPECT_FALSE(EqualIgnoringCase("a", "ab"));
    // Bytes that form no character match only themselves, never a character or another byte.
    EXPECT_TRUE(EqualIgnoringCase("A\xFF", "a\xFF"));
    EXPECT_FALSE(EqualIgnoringCase("\xFF", "\xFE"));
    EXPECT_FALSE(EqualIgnoringCase("\xC3", "\xC3\xA9"));
    EXPECT_FALSE(EqualIgnoringCase("\xD0\xA4", "\xD0"));
    EXPECT_EQ(FoldedHash("ФАЙЛ.bas"), FoldedHash("файл.BAS"));
}

TEST(WildcardMatch, MatchesCharactersWithoutRegardToCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.BAS", "x.bas", true},
        {"*", "", true},
        {"?", "", false},
        {"a*b*c", "aXbYc", true},
        {"a*b", "a", false},
        {"?.bas", "ф.bas", true},  // one character, two bytes
        {"??.bas", "ф.bas", false},
        {"?.bas", "中.bas", true},
        {"ФАЙЛ*", "файл1.bas", true},
        {"Ｆ?", "ｆ中", true},
        {"[a].bas", "[A].BAS", true},
        {"[a].bas", "a.bas", false},
        {"?", "\xFF", true},
        {"\xFF", "\xFE", false},
        {"*x", "\xC3x", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
}

TEST(FolderIndex, FindsEveryNameEqualIgnoringCaseInByteOrder) {
    const FolderIndex index({"b.bas", "Файл.bas", "A.bas", "a.BAS", "файл.bas", "a.bas", "c"});
    using Views = std::vector<std::string_view>;
    EXPECT_EQ(index.Matches("A.BAS"), (Views{"A.bas", "a.BAS", "a.bas"}));
    EXPECT_EQ(index.Matches("ФАЙЛ.BAS"), (Views{"Файл.bas", "файл.bas"}));
    EXPECT_EQ(index.Matches("B.Bas"), Views{"b.bas"});
    EXPECT_EQ(index.Matches("d"), Views{});
    EXPECT_EQ(FolderIndex().Matches("a"), Views{});
}

}  // namespace
}  // namespace tallix
