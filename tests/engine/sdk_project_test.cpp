#include "engine/projects/sdk_project.h"

#include <gtest/gtest.h>

#include "engine/projects/project_readers.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using Names = std::vector<std::string>;
using Action = CompileItemRule::Action;

struct StyleCase {
    const char* text;
    bool sdkStyle;
    bool defaultItems;
};

TEST(SdkScan, TellsSdkStyleAndDefaultItems) {
    const StyleCase cases[] = {
        {"<Project Sdk=\"Microsoft.NET.Sdk\">", true, true},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<Project\n  Sdk='Microsoft.NET.Sdk'>", true, true},
        {"<Project><Sdk Name=\"Microsoft.NET.Sdk\" />", true, true},
        {"<Project><Import Project=\"Sdk.props\" Sdk=\"Microsoft.NET.Sdk\" />", true, true},
        // A classic project, even one that mentions SDKs in comments, names and other tags.
        {"<!-- <Project Sdk=\"x\"> --><Project ToolsVersion=\"4.0\">"
         "<Import Project=\"$(MSBuildToolsPath)\\Microsoft.VisualBasic.targets\" />"
         "<Compile Include=\"Sdk.vb\" /><Reference Include=\"x\" Sdk=\"y\" />",
         false, true},
        // Only the root's own Sdk attribute counts.
        {"<Project><PropertyGroup Sdk=\"x\">", false, true},
        {"<Project Sdk=\"S\"><PropertyGroup><EnableDefaultCompileItems> False\n"
         "</EnableDefaultCompileItems>",
         true, false},
        {"<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>", true, false},
        {"<Project Sdk=\"S\"><!--<EnableDefaultCompileItems>false</EnableDefaultCompileItems>-->",
         true, true},
        {"<Project Sdk=\"S\"><EnableDefaultCompileItems>$(X)</EnableDefaultCompileItems>", true,
         true},
        {"", false, true},
        {"<<<>>>\"'<Project", false, true},
    };
    for (const auto& c : cases) {
        const SdkProjectScan scan = ScanSdkProject(c.text);
        EXPECT_EQ(scan.sdkStyle, c.sdkStyle) << c.text;
        EXPECT_EQ(scan.defaultItems, c.defaultItems) << c.text;
    }
}

TEST(SdkScan, ReadsCompileRulesInDocumentOrder) {
    SdkProjectScanner scanner;
    // Fed in pieces that cut tags, attributes and a comment apart.
    const std::string text =
        "<Project Sdk=\"S\"><ItemGroup>\n"
        "<Compile Remove=\"Old\\**; Gen\\*.g.vb\" />\n"
        "<!-- <Compile Include=\"Hidden.vb\" /> a lone \" quote -->\n"
        "<Compile\n   Include='..\\Shared\\A&amp;B.vb;x&#x41;.vb'   Exclude=\"*.tmp.vb\">\n"
        "  <Link>A.vb</Link></Compile>\n"
        "<Compile Update=\"Form1.vb\" />\n"
        "<Compile Include=\"a>b.vb\" />\n";
    for (std::size_t i = 0; i < text.size(); i += 7) {
        scanner.Feed(std::string_view(text).substr(i, 7));
    }
    SdkProjectScanner styleOnly(false);
    styleOnly.Feed(text);
    EXPECT_TRUE(styleOnly.Result().sdkStyle);
    EXPECT_TRUE(styleOnly.Result().rules.empty());
    const auto& rules = scanner.Result().rules;
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].action, Action::Remove);
    EXPECT_EQ(rules[0].patterns, (Names{"Old\\**", "Gen\\*.g.vb"}));
    EXPECT_EQ(rules[1].action, Action::Include);
    EXPECT_EQ(rules[1].patterns, (Names{"..\\Shared\\A&B.vb", "xA.vb"}));
    EXPECT_EQ(rules[1].excludes, Names{"*.tmp.vb"});
    EXPECT_EQ(rules[2].patterns, Names{"a>b.vb"});
}

class SdkMembers : public ::testing::Test {
protected:
    SdkMembers() {
        for (const char* name :
             {"App/Form1.vb", "App/Form1.Designer.vb", "App/My Project/AssemblyInfo.vb",
              "App/Sub/Z.vb", "App/sub2/a.VB", "App/Old/x.vb", "App/Gen/a.g.vb", "App/Gen/b.vb",
              "App/BIN/Debug/x.vb", "App/obj/y.vb", "App/.vs/z.vb", "App/src/bin/kept.vb",
              "App/notes.txt", "App/b.vbx", "Shared/Common.vb", "Shared/Deep/More.vb"}) {
            dir.Write(name, "x\r\n");
        }
    }

    Names Members(const std::string& project) {
        dir.Write("App/App.vbproj", project);
        const ProjectMembers read = ReadProjectFile(dir.Str("App/App.vbproj"), SourceKind::VbNet);
        EXPECT_EQ(read.problem.error, FileError::None);
        return read.names;
    }

    testing::TempDir dir;
};

TEST_F(SdkMembers, TakesEveryVbFileButBuildOutputHiddenAndGeneratedOnes) {
    EXPECT_EQ(Members("<Project Sdk=\"Microsoft.NET.Sdk\"></Project>"),
              (Names{"Form1.vb", "Gen\\a.g.vb", "Gen\\b.vb", "Old\\x.vb", "src\\bin\\kept.vb",
                     "Sub\\Z.vb", "sub2\\a.VB"}));
}

TEST_F(SdkMembers, AppliesRemoveAndIncludeRules) {
    EXPECT_EQ(Members("<Project Sdk=\"S\"><ItemGroup>\n"
                      "  <Compile Remove=\"old\\**;Gen/*.G.vb\" />\n"
                      "  <Compile Include=\"..\\Shared\\**\\*.vb\" Exclude=\"**\\More.vb\" />\n"
                      "  <Compile Include=\"FORM1.vb;Missing.vb;bin\\Debug\\x.vb\" />\n"
                      "</ItemGroup></Project>"),
              (Names{"..\\Shared\\Common.vb", "bin\\Debug\\x.vb", "Form1.vb", "Gen\\b.vb",
                     "Missing.vb", "src\\bin\\kept.vb", "Sub\\Z.vb", "sub2\\a.VB"}));
}

TEST_F(SdkMembers, WithoutDefaultItemsOnlyIncludesCount) {
    EXPECT_EQ(Members("<Project Sdk=\"S\"><PropertyGroup>"
                      "<EnableDefaultCompileItems>false</EnableDefaultCompileItems>"
                      "</PropertyGroup><ItemGroup><Compile Include=\"Sub\\*.vb;Form1.vb\" />"
                      "<Compile Include=\"Form1.Designer.vb\" /></ItemGroup></Project>"),
              (Names{"Form1.vb", "Sub\\Z.vb"}));
    // Remove takes back what an Include added before it, not what comes after.
    EXPECT_EQ(Members("<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>"
                      "<Compile Include=\"Form1.vb\"/><Compile Remove=\"*.vb\"/>"
                      "<Compile Include=\"Sub\\Z.vb\"/></Project>"),
              Names{"Sub\\Z.vb"});
}

TEST_F(SdkMembers, ClassicProjectsKeepTheirLineReader) {
    EXPECT_EQ(Members("<Project ToolsVersion=\"4.0\">\r\n  <ItemGroup>\r\n"
                      "    <Compile Include=\"Form1.vb\" />\r\n"),
              Names{"Form1.vb"});
    // A VB6 reading of an SDK-style project finds nothing, as for any other .vbproj.
    dir.Write("App/App.vbproj", "<Project Sdk=\"S\" />");
    EXPECT_TRUE(ReadProjectFile(dir.Str("App/App.vbproj"), SourceKind::Vb6).names.empty());
}

TEST_F(SdkMembers, ProjectInTheCurrentFolderIsWalkedThere) {
    dir.Write("App/App.vbproj", "<Project Sdk=\"S\"><Compile Remove=\"**\\*.g.vb;*\\*\\*\"/>");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path() / "App");
    const ProjectMembers read = ReadProjectFile("App.vbproj", SourceKind::VbNet);
    std::filesystem::current_path(previous);
    EXPECT_EQ(read.names, (Names{"Form1.vb", "Gen\\b.vb", "Old\\x.vb", "Sub\\Z.vb", "sub2\\a.VB"}));
}

}  // namespace
}  // namespace tallix
