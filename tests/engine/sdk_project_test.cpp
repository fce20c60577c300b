#include "engine/projects/sdk_project.h"

#include <gtest/gtest.h>

#include "engine/counting/member_count.h"
#include "engine/projects/project_readers.h"
#include "engine/text/text_lines.h"
#include "other_user.h"
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

TEST(SdkScan, ObeysConditionsItCanTellAndNotesTheRest) {
    using Kind = ProjectNote::Kind;
    struct Case {
        const char* label;
        const char* body;  // inside <Project Sdk="S">
        std::size_t rules;
        bool defaultItems;
        std::vector<ProjectNote> notes;
    };
    const Case cases[] = {
        {"false on the item, not on the next",
         "<Compile Include=\"a.vb\" Condition=\"false\" />"
         "<Compile Include=\"b.vb\" />",
         1,
         true,
         {}},
        {"quoted empty", "<Compile Include=\"a.vb\" Condition=\"''\" />", 1, true, {}},
        {"quoted false, any case",
         "<Compile Include=\"a.vb\" Condition=\" 'FALSE' \" />",
         0,
         true,
         {}},
        {"true", "<Compile Include=\"a.vb\" Condition=\"'true'\" />", 1, true, {}},
        {"empty", "<Compile Include=\"a.vb\" Condition=\"\" />", 1, true, {}},
        {"false on the group",
         "<ItemGroup Condition=\"false\"><Compile Include=\"a.vb\" />"
         "</ItemGroup><Compile Include=\"b.vb\" />",
         1,
         true,
         {}},
        {"false group closed by a stray tag",
         "<ItemGroup Condition=\"false\"></Other>"
         "<Compile Include=\"a.vb\" /></ItemGroup>",
         0,
         true,
         {}},
        {"unknown on the group",
         "<ItemGroup Condition=\"'$(C)'=='Debug'\">"
         "<Compile Include=\"a.vb\" /><Compile Remove=\"b.vb\" /></ItemGroup>",
         2,
         true,
         {{Kind::ConditionNotEvaluated, "'$(C)'=='Debug'"}}},
        {"property under false",
         "<PropertyGroup Condition=\"false\"><EnableDefaultCompileItems>"
         "false</EnableDefaultCompileItems></PropertyGroup>",
         0,
         true,
         {}},
        {"property under its own condition",
         "<EnableDefaultCompileItems Condition=\"x &gt; y\">"
         "false</EnableDefaultCompileItems>",
         0,
         false,
         {{Kind::ConditionNotEvaluated, "x > y"}}},
        {"property as a property",
         "<EnableDefaultCompileItems>$(Off)"
         "</EnableDefaultCompileItems>",
         0,
         true,
         {{Kind::PropertyNotEvaluated, "$(Off)"}}},
        {"properties in patterns, each once",
         "<Compile Include=\"$(Gen)\\*.vb;x.vb\" />"
         "<Compile Remove=\"$(Gen)\\*.vb\" Condition=\"c\" /><Compile Include=\"$(Gen)\\*.vb\" />",
         3,
         true,
         {{Kind::PropertyNotEvaluated, "$(Gen)\\*.vb"}, {Kind::ConditionNotEvaluated, "c"}}},
    };
    for (const Case& c : cases) {
        const SdkProjectScan scan =
            ScanSdkProject(std::string("<Project Sdk=\"S\">") + c.body + "</Project>");
        EXPECT_EQ(scan.rules.size(), c.rules) << c.label;
        EXPECT_EQ(scan.defaultItems, c.defaultItems) << c.label;
        EXPECT_EQ(scan.notes, c.notes) << c.label;
    }
}

TEST(SdkScan, AProjectOnOneLongLineIsReadWhole) {
    // A comment longer than any line the line reader keeps, then the switch.
    const std::string comment =
        "<!--" + std::string(TextLineReader::kMaxLineBytes * 2, 'c') + "-->";
    testing::TempDir dir;
    dir.Write("P/a.vb", "x\r\n");
    const std::string offLate = dir.Write(
        "P/P.vbproj", "<Project Sdk=\"S\">" + comment +
                          "<EnableDefaultCompileItems>false</EnableDefaultCompileItems></Project>");
    EXPECT_TRUE(ReadProjectFile(offLate, SourceKind::VbNet).names.empty());
    std::string includes = "<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>";
    for (int i = 0; i < 5000; ++i) {
        includes += "<Compile Include=\"Generated\\Part" + std::to_string(i) + ".vb\" />";
    }
    const std::string many = dir.Write("P/P.vbproj", includes + "</Project>");
    EXPECT_EQ(ReadProjectFile(many, SourceKind::VbNet).names.size(), 5000u);
}

TEST_F(SdkMembers, OneFileNamedTwoWaysIsListedOnce) {
    EXPECT_EQ(Members("<Project Sdk=\"S\"><Compile Include=\"Form1.vb;./Form1.vb;.\\Form1.vb;"
                      "Sub\\..\\Form1.vb;Sub//Z.vb;x/./y.vb;x\\y.vb\" /></Project>"),
              (Names{"Form1.vb", "Gen\\a.g.vb", "Gen\\b.vb", "Old\\x.vb", "src\\bin\\kept.vb",
                     "Sub\\Z.vb", "sub2\\a.VB", "x/y.vb"}));
    // A name written in another case, then found on disk: the file once, as written first.
    EXPECT_EQ(Members("<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>"
                      "<Compile Include=\"FORM1.VB\" /><Compile Include=\"*.vb\" /></Project>"),
              Names{"FORM1.VB"});
    // A pattern's ".." inside is taken out before it is matched, as a leading one is.
    EXPECT_EQ(Members("<Project Sdk=\"S\"><Compile Remove=\"keep\\..\\Gen\\b.vb;.\\Old\\x.vb;"
                      "Sub\\..\\..\\App\\sub2\\*\" /></Project>"),
              (Names{"Form1.vb", "Gen\\a.g.vb", "src\\bin\\kept.vb", "Sub\\Z.vb", "sub2\\a.VB"}));
}

TEST_F(SdkMembers, FilesWhoseNamesDifferOnlyInCaseAreBothTaken) {
    if (testing::kWindows) {
        GTEST_SKIP() << "names differing only in case cannot both exist here";
    }
    dir.Write("App/Two/a.vb", "x\r\n");
    dir.Write("App/Two/A.vb", "x\r\n");
    const Names both{"Two\\a.vb", "Two\\A.vb"};
    EXPECT_EQ(Members("<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>"
                      "<Compile Include=\"Two\\**\\*.vb;Two\\*.vb\" /></Project>"),
              (Names{"Two\\A.vb", "Two\\a.vb"}));
    // A name as written stands for either, so it adds nothing beside them.
    const Names listed = Members(
        "<Project Sdk=\"S\"><Compile Include=\"**\\*.vb;TWO\\A.VB\" />"
        "<Compile Remove=\"Gen\\**;Old\\**;Sub*\\**;src\\**;Form1.vb;.vs\\**;"
        "BIN\\**;obj\\**\" /></Project>");
    EXPECT_EQ(listed, (Names{"Two\\A.vb", "Two\\a.vb"}));
}

TEST_F(SdkMembers, AbsolutePatternsNameWhatTheyPointAt) {
    const std::string shared = dir.Str("Shared");
    EXPECT_EQ(Members("<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>"
                      "<Compile Include=\"" +
                      shared + "/**/*.vb;" + shared +
                      "/Common.vb\" />"
                      "</Project>"),
              (Names{shared + testing::kSeparator + "Common.vb",
                     shared + testing::kSeparator + "Deep\\More.vb"}));
    const ProjectMembers read = ReadProjectFile(dir.Str("App/App.vbproj"), SourceKind::VbNet);
    FileLocator locator;
    EXPECT_EQ(CountMember(dir.Str("App") + testing::kSeparator, read.names[1], SourceKind::VbNet,
                          {}, locator)
                  .lines,
              1);
}

TEST_F(SdkMembers, HiddenFoldersAnywhereAndBuildFoldersOnTopAreLeftOut) {
    for (const char* name :
         {"App/Sub/.hidden/h.vb", "App/OBJ/Debug/o.vb", "App/Bin/b.vb", "App/Sub/Obj/kept.vb"}) {
        dir.Write(name, "x\r\n");
    }
    EXPECT_EQ(Members("<Project Sdk=\"S\" />"),
              (Names{"Form1.vb", "Gen\\a.g.vb", "Gen\\b.vb", "Old\\x.vb", "src\\bin\\kept.vb",
                     "Sub\\Obj\\kept.vb", "Sub\\Z.vb", "sub2\\a.VB"}));
    EXPECT_EQ(Members("<Project Sdk=\"S\"><EnableDefaultItems>false</EnableDefaultItems>"
                      "<Compile Include=\"..\\Shared\\**\\*.vb\" /></Project>"),
              (Names{"..\\Shared\\Common.vb", "..\\Shared\\Deep\\More.vb"}));
}

TEST_F(SdkMembers, FoldersThatCannotBeListedAreKept) {
    dir.Write("App/Locked/l.vb", "x\r\n");
    dir.Write("App/App.vbproj",
              "<Project Sdk=\"S\"><Compile Include=\"..\\Shared\\**\\*.vb;"
              "Missing\\*.vb\" /></Project>");
    std::filesystem::permissions(dir.path() / "App/Locked", std::filesystem::perms::none);
    std::filesystem::permissions(dir.path() / "Shared/Deep", std::filesystem::perms::none);
    const auto read = testing::AsOtherUser([&] {
        const ProjectMembers members =
            ReadProjectFile(dir.Str("App/App.vbproj"), SourceKind::VbNet);
        std::string text;
        for (const FolderProblem& unlisted : members.unlisted) {
            text += unlisted.path + ": " + unlisted.problem.detail + "\n";
        }
        return text + std::to_string(members.names.size());
    });
    if (!read) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    // A folder a pattern names that does not exist only matches nothing.
    EXPECT_EQ(*read, "Locked: Permission denied\n..\\Shared\\Deep: Permission denied\n8");
}

TEST_F(SdkMembers, ProjectsWithoutAMarkAreReadAsUtf8AndOlderOnesAsGbk) {
    dir.Write("App/模块.vb", "x\r\n");
    dir.Write("App/其他.vb", "x\r\n");
    // As the .NET tools write it: UTF-8, no mark, no declaration.
    EXPECT_EQ(Members("<Project Sdk=\"Microsoft.NET.Sdk\"><ItemGroup>"
                      "<Compile Remove=\"其他.vb;Gen\\**;Old\\**;Sub*\\**;src\\**;Form1.vb\" />"
                      "</ItemGroup></Project>"),
              Names{"模块.vb"});
    // The same names in code page 936, declared and not.
    for (const std::string declaration : {"<?xml version=\"1.0\" encoding=\"gb2312\"?>", ""}) {
        EXPECT_EQ(Members(declaration + "<Project Sdk=\"S\"><EnableDefaultItems>false"
                                        "</EnableDefaultItems><Compile Include=\"\xC4\xA3\xBF\xE9"
                                        ".vb\" /></Project>"),
                  Names{"模块.vb"})
            << declaration;
    }
}

}  // namespace
}  // namespace tallix
