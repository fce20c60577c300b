#include "engine/files/path_glob.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tallix {
namespace {

struct GlobCase {
    const char* pattern;
    const char* path;
    bool matches;
};

TEST(PathGlob, MatchesLikeMsBuildItems) {
    const GlobCase cases[] = {
        {"*.vb", "a.vb", true},
        {"*.vb", "sub/a.vb", false},  // "*" stays inside one folder name
        {"**/*.vb", "a.vb", true},    // "**" may stand for no folder at all
        {"**/*.vb", "x/y/z.vb", true},
        {"**\\*.vb", "x\\y\\z.vb", true},
        {"Old\\**", "old/deep/er/a.vb", true},
        {"Old\\**", "Older/a.vb", false},
        {"Old/**", "Old", false},
        {"a/**/b/*.vb", "a/b/c.vb", true},
        {"a/**/b/*.vb", "a/x/y/b/c.vb", true},
        {"a/**/b/*.vb", "a/x/y/c.vb", false},
        {"?.vb", "a.vb", true},
        {"?.vb", "ab.vb", false},
        {"?.vb", ".vb", false},
        {"FORM1.VB", "Form1.vb", true},
        {"Form1.vb", "Form1.vbx", false},
        {"./sub//a.vb", "sub/a.vb", true},
        {"..\\Shared\\*.vb", "../shared/x.vb", true},
        {"*.vb", "", false},
        {"a*b*c.vb", "aXbYbZc.vb", true},
        {"a*b*c.vb", "acb.vb", false},
        {"**/**/x/**", "x/y.vb", true},
        {"**/**", "a.vb", true},
        {"Ä*/ФОРМА.vb", "äbc/форма.VB", true},  // case beyond ASCII too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GlobMatch(c.pattern, c.path), c.matches) << c.pattern << " vs " << c.path;
    }
}

TEST(PathGlob, ManyDoubleStarsStayCheap) {
    std::string pattern, path;
    for (int i = 0; i < 40; ++i) {
        pattern += "**/a/";
        path += "a/";
    }
    // Forty "**" against fifty folders: tried one split after another, the ways to place
    // them run into the billions.
    EXPECT_FALSE(GlobMatch(pattern + "**/b.vb", path + "a/a/a/a/a/a/a/a/a/a/c.vb"));
    EXPECT_TRUE(GlobMatch(pattern + "**/c.vb", path + "a/a/a/a/a/a/a/a/a/a/c.vb"));
}

TEST(PathGlob, SplitsItemListsAndTellsGlobsFromNames) {
    EXPECT_EQ(SplitItemList(" a.vb ;\r\n\tb\\*.vb;;  "),
              (std::vector<std::string>{"a.vb", "b\\*.vb"}));
    EXPECT_TRUE(SplitItemList(" ; ").empty());
    EXPECT_TRUE(HasGlob("a/?.vb"));
    EXPECT_TRUE(HasGlob("**"));
    EXPECT_FALSE(HasGlob("a/b.vb"));
}

TEST(PathGlob, OrdersPathsByLetterWhateverTheCase) {
    std::vector<std::string> paths{"b.vb", "A.vb", "a.vb", "Sub\\z.vb", "sub\\a.vb", "_x.vb"};
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return PathLess(a, b); });
    // Upper-case letters sort with their lower-case ones, not before "_" as in ASCII.
    EXPECT_EQ(paths, (std::vector<std::string>{"_x.vb", "A.vb", "a.vb", "b.vb", "sub\\a.vb",
                                               "Sub\\z.vb"}));
    EXPECT_TRUE(SamePathIgnoringCase("Sub\\A.vb", "sub/a.VB"));
    EXPECT_FALSE(SamePathIgnoringCase("sub/a.vb", "sub/a.vbx"));
    EXPECT_TRUE(SamePathIgnoringCase("Ä\\Ф.vb", "ä/ф.vb"));
    EXPECT_TRUE(PathLess("ä.vb", "Ö.vb"));
    EXPECT_FALSE(PathLess("Ö.vb", "ä.vb"));
}

TEST(PathGlob, NormalisesItemPathsBeforeTheyAreCompared) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.vb", "a.vb"},
        {"./a.vb", "a.vb"},
        {".\\a.vb", "a.vb"},
        {"sub\\..\\a.vb", "a.vb"},
        {"sub//a.vb", "sub/a.vb"},
        {"sub/./b/../a.vb", "sub/a.vb"},
        {"sub\\./b/x.vb", "sub\\b\\x.vb"},
        {"keep\\..\\dots\\d.vb", "dots\\d.vb"},
        {"..\\Shared\\x.vb", "..\\Shared\\x.vb"},
        {"../../x.vb", "../../x.vb"},
        {"a/../../x.vb", "../x.vb"},
        {"/abs/./out.vb", "/abs/out.vb"},
        {"/../x.vb", "/x.vb"},
        {"C:\\src\\..\\x.vb", "C:\\x.vb"},
        {"\\\\server\\share\\x.vb", "\\\\server\\share\\x.vb"},
        {"Old\\**\\*.vb", "Old\\**\\*.vb"},
        {"", ""},
    };
    for (const auto& [path, normalised] : cases) {
        EXPECT_EQ(NormalisedItemPath(path), normalised) << path;
    }
    EXPECT_TRUE(IsRootedPath("/x"));
    EXPECT_TRUE(IsRootedPath("\\x"));
    EXPECT_TRUE(IsRootedPath("d:x.vb"));
    EXPECT_FALSE(IsRootedPath("1:x.vb"));
    EXPECT_FALSE(IsRootedPath("x/y"));
}

}  // namespace
}  // namespace tallix
