#include "engine/projects/open_elements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallix {
namespace {

XmlTag Tag(std::string_view name, std::string_view condition = {}) {
    XmlTag tag{name, {}, false};
    if (!condition.empty()) {
        tag.attributes.emplace_back("Condition", condition);
    }
    return tag;
}

// What Apply says, and the conditions it hands on.
struct Applied {
    bool applies;
    std::vector<std::string> unknown;
};

Applied ApplyOf(const OpenElements& open) {
    Applied applied{false, {}};
    applied.applies =
        open.Apply([&](const std::string& condition) { applied.unknown.push_back(condition); });
    return applied;
}

TEST(OpenElements, AFalseConditionAnywhereAroundHidesAndNamesNothing) {
    OpenElements open;
    open.Open(Tag("Project"));
    open.Open(Tag("ItemGroup", "'$(Configuration)' == 'Debug'"));
    open.Open(Tag("Choose", " 'False' "));
    open.Open(Tag("Compile"));
    const Applied hidden = ApplyOf(open);
    EXPECT_FALSE(hidden.applies);
    EXPECT_TRUE(hidden.unknown.empty()) << "a hidden element's conditions do not matter";

    open.Close("Choose");
    const Applied shown = ApplyOf(open);
    EXPECT_TRUE(shown.applies) << "closing the false element closes what it held too";
    EXPECT_EQ(shown.unknown, std::vector<std::string>{"'$(Configuration)' == 'Debug'"});
    EXPECT_EQ(open.Depth(), 2u);
}

TEST(OpenElements, ConditionsAreReadWithTheirReferencesDecoded) {
    OpenElements open;
    open.Open(Tag("ItemGroup", "&apos;$(A)&apos; == &apos;x&apos;"));
    EXPECT_EQ(ApplyOf(open).unknown, std::vector<std::string>{"'$(A)' == 'x'"});
    open.CloseInnermost();
    open.Open(Tag("ItemGroup", "&apos;false&apos;"));
    EXPECT_FALSE(ApplyOf(open).applies);
    open.CloseInnermost();
    open.Open(Tag("ItemGroup", "TRUE"));
    const Applied applied = ApplyOf(open);
    EXPECT_TRUE(applied.applies);
    EXPECT_TRUE(applied.unknown.empty()) << "true is told, not noted";
}

TEST(OpenElements, ClosingIsTolerant) {
    struct Case {
        const char* what;
        std::vector<const char*> closes;
        std::size_t depth;
    };
    const Case cases[] = {
        {"a stray closing tag closes nothing", {"Other"}, 4},
        {"the innermost of its name", {"B"}, 3},
        {"and every one left open inside it", {"A"}, 2},
        {"the outer one closes them all", {"Root"}, 0},
        {"one after another", {"B", "A"}, 2},
    };
    for (const Case& c : cases) {
        OpenElements open;
        for (const char* name : {"Root", "A", "A", "B"}) {
            open.Open(Tag(name));
        }
        for (const char* name : c.closes) {
            open.Close(name);
        }
        EXPECT_EQ(open.Depth(), c.depth) << c.what;
    }
    OpenElements empty;
    empty.CloseInnermost();
    EXPECT_EQ(empty.Depth(), 0u) << "nothing open: nothing to close";
    EXPECT_TRUE(ApplyOf(empty).applies);
}

}  // namespace
}  // namespace tallix
