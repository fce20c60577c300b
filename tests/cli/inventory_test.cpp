// tallix --inventory on the inventory fixtures (tests/fixtures/README.md gives their counts,
// worked out by hand): a group of two VB6 projects that share a module and ask for two
// versions of one ActiveX component, and a VB.NET project with every kind of reference.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/run.h"
#include "engine/files/file_system.h"
#include "json_keys.h"
#include "other_user.h"
#include "real_projects.h"
#include "run_cli.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::Keys;
using testing::RunCli;
using testing::RunResult;
using testing::TempFolder;
using Json = nlohmann::ordered_json;

const std::string kFixtures = tallix::testing::kFixturesDir + "/inventory";
const std::string kGroup = kFixtures + "/Suite.vbg";
const std::string kShop = MemberPath(ProjectFolder(kGroup), "Shop\\Shop.vbp");
const std::string kTools = MemberPath(ProjectFolder(kGroup), "Tools\\Tools.vbp");
const std::string kEvery = kFixtures + "/Every/Every.vbproj";

struct ArgumentCase {
    std::vector<std::string> args;
    bool csv;
    bool csvReferences;
};

TEST(InventoryArguments, TheFormsOfOutput) {
    for (const ArgumentCase& c :
         {ArgumentCase{{"--inventory", "p.vbp"}, false, false},
          ArgumentCase{{"--inventory", "--csv", "p.vbp"}, true, false},
          ArgumentCase{{"--csv=references", "--inventory", "p.vbp"}, true, true}}) {
        const ParseOutcome outcome = ParseArguments(c.args);
        ASSERT_TRUE(outcome.options.has_value()) << outcome.err;
        EXPECT_TRUE(outcome.options->inventory);
        EXPECT_EQ(outcome.options->csv, c.csv);
        EXPECT_EQ(outcome.options->csvReferences, c.csvReferences);
        EXPECT_EQ(outcome.options->project, "p.vbp");
    }
    EXPECT_FALSE(ParseArguments({"p.vbp"}).options->inventory);
}

TEST(InventoryArguments, WhatDoesNotGoTogetherIsAUsageError) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--csv=references", "p.vbp"}, "--csv=references 只能与 --inventory 同用"},
        {{"--inventory", "--csv=reference", "p.vbp"}, "--csv 的值只能是 references"},
        {{"--inventory", "--report", "r.log", "p.vbp"}, "--inventory 不能与 --report 同用"},
        {{"--inventory", "--json", "--csv", "p.vbp"}, "--json 与 --csv 不能同时使用"},
    };
    for (const auto& [args, reason] : cases) {
        const ParseOutcome outcome = ParseArguments(args);
        EXPECT_FALSE(outcome.options.has_value()) << reason;
        EXPECT_EQ(outcome.exitCode, kExitBadUsage) << reason;
        EXPECT_TRUE(outcome.err.starts_with("tallix：" + reason + "\n")) << outcome.err;
        EXPECT_NE(outcome.err.find("tallix --inventory [--vb6 | --vbnet]"), std::string::npos);
    }
    const RunResult set = RunCli({"--inventory", "--vb6", kGroup});
    EXPECT_EQ(set.status, kExitBadUsage);
    EXPECT_EQ(set.out, "");
}

TEST(InventoryText, AProjectReportSaysWhatItIsMadeOfAndWhatIsWrongInIt) {
    const RunResult run = RunCli({"--inventory", kShop});
    EXPECT_EQ(run.status, kExitMembersUnreadable) << run.err;
    EXPECT_EQ(run.err, "成员Gone.bas无法读取：文件不存在，按0行计算（" +
                           MemberPath(ProjectFolder(kShop), "Gone.bas") + "）\n");
    EXPECT_EQ(run.out,
              "工程：" + kShop +
                  "（VB6，Exe）\n"
                  "  成员 8 个：窗体 2，模块 2，类模块 1，用户控件 1，属性页 1，设计器 1"
                  "（设计器只列出，不统计）\n"
                  "  统计行数 38（代码行 33，注释行 2，空白行 3），设计器行 46\n"
                  "  过程 9 个，Declare 语句 3 个（kernel32 2，user32 1）\n"
                  "  控件 10 个（MSComctlLib.ListView 1，VB.CommandButton 2，VB.Frame 2，VB.Menu "
                  "2，VB.Shape 1，VB.TextBox 1，VB.Timer 1）\n"
                  "  类型库引用 1 个：\n"
                  "    OLE Automation 2.0（{00020430-0000-0000-C000-000000000046}，"
                  "C:\\Windows\\System32\\stdole2.tlb）\n"
                  "  ActiveX 部件 1 个：\n"
                  "    MSCOMCTL.OCX 2.0（{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}）\n"
                  "  VB6 工程引用 1 个：\n"
                  "    Tools.vbp（..\\Tools\\Tools.vbp）\n"
                  "  问题：\n"
                  "    成员Gone.bas无法读取：文件不存在\n"
                  "    成员Broken.pag：第 3 行起含有 NUL 字节：可能是二进制文件或 UTF-16 文本，"
                  "清点结果未必准确\n"
                  "    成员Open.frm：设计块未结束：到第 5 行还有 1 个 Begin 没有对应的 End\n"
                  "    工程文件第 3 行的引用格式不对，已照原文列出："
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046#2.0#0#broken.tlb#Broken\n"
                  "\n");
}

TEST(InventoryText, ASetEndsWithItsSummary) {
    const RunResult run = RunCli({"--inventory", "--skip-comments", kGroup});
    EXPECT_EQ(run.status, kExitMembersUnreadable) << run.err;
    const auto tools = run.out.find("工程：" + kTools + "（VB6，OleDll）\n");
    const auto summary = run.out.find("汇总：");
    ASSERT_NE(tools, std::string::npos) << run.out;
    EXPECT_LT(run.out.find("工程：" + kShop), tools);
    ASSERT_NE(summary, std::string::npos);
    EXPECT_EQ(
        run.out.substr(summary),
        "汇总：2 个工程（多个工程共用的文件只计一次）\n"
        "  成员 9 个：窗体 2，模块 2，类模块 2，用户控件 1，属性页 1，设计器 1"
        "（设计器只列出，不统计）\n"
        "  统计行数 39（代码行 36，注释行 2，空白行 3），设计器行 50\n"
        "  过程 10 个，Declare 语句 3 个（kernel32 2，user32 1）\n"
        "  控件 10 个（MSComctlLib.ListView 1，VB.CommandButton 2，VB.Frame 2，VB.Menu 2，"
        "VB.Shape 1，VB.TextBox 1，VB.Timer 1）\n"
        "  共用的文件 1 个：\n"
        "    " +
            MemberPath(ProjectFolder(kShop), "..\\Shared\\Api.bas") + "：" + kShop + "，" + kTools +
            "\n"
            "  引用合并为 3 项，其中版本冲突 1 项：\n"
            "    类型库引用 OLE Automation（{00020430-0000-0000-C000-000000000046}）：2 个工程，"
            "版本 2.0\n"
            "    版本冲突！ActiveX 部件 MSCOMCTL.OCX（{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}）："
            "2 个工程\n"
            "      2.0：" +
            kShop + "\n      1.3：" + kTools +
            "\n"
            "    VB6 工程引用 Tools.vbp：1 个工程\n")
        << "the shared module once; without comments 41 lines are 39";
    EXPECT_EQ(RunCli({"--inventory", kShop}).out.find("汇总"), std::string::npos)
        << "a project on its own has no summary";
}

TEST(InventoryText, AVbNetProjectWithEveryKindOfReference) {
    const RunResult run = RunCli({"--inventory", kEvery});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.err,
              "工程" + kEvery + "：条件 '$(Configuration)' == 'Debug' 未求值，按成立处理\n");
    EXPECT_EQ(run.out,
              "工程：" + kEvery +
                  "（VB.NET）\n"
                  "  成员 2 个：窗体 1，代码文件 1\n"
                  "  统计行数 18（代码行 14，注释行 1，空白行 3），设计器行 14\n"
                  "  过程 4 个，Declare 语句 1 个（user32 1）\n"
                  "  控件 2 个（System.Windows.Forms.Button 1，System.Windows.Forms.TextBox "
                  "1）\n"
                  "  程序集引用 2 个：\n"
                  "    System\n"
                  "    MySql.Data 6.9.9.0（..\\packages\\MySql.Data.6.9.9\\lib\\net45\\"
                  "MySql.Data.dll）\n"
                  "  NuGet 包 3 个：\n"
                  "    Newtonsoft.Json 13.0.1\n"
                  "    Serilog 2.10.0\n"
                  "    Debug.Only 1.0.0\n"
                  "  COM 引用 1 个：\n"
                  "    MSXML2 6.0（{F5078F18-C551-11D3-89B9-0000F81FE221}，tlbimp）\n"
                  "  工程引用 1 个：\n"
                  "    Lib（{D18AB89D-1897-4779-A937-F48661E0B6B8}，..\\Lib\\Lib.vbproj）\n"
                  "\n");
}

Json ParseJson(const RunResult& run) {
    Json json = Json::parse(run.out);
    // Laid out as a two-space dump would lay it out, the nested projects included.
    EXPECT_EQ(run.out, json.dump(2) + "\n");
    return json;
}

TEST(InventoryJson, ADocumentWithItsSchemaVersion) {
    const RunResult run = RunCli({"--inventory", "--json", "--skip-blank", kGroup});
    EXPECT_EQ(run.status, kExitMembersUnreadable);
    const Json json = ParseJson(run);
    EXPECT_EQ(Keys(json), (std::vector<std::string>{"schema", "skip_blank", "skip_comments",
                                                    "projects", "summary"}));
    EXPECT_EQ(json.at("schema"), 1);
    EXPECT_EQ(json.at("skip_blank"), true);
    const Json& shop = json.at("projects").at(0);
    EXPECT_EQ(Keys(shop), (std::vector<std::string>{"project", "kind", "type", "error", "members",
                                                    "references", "totals"}));
    EXPECT_EQ(shop.at("project"), kShop);
    EXPECT_EQ(shop.at("type"), "Exe");
    const Json& main = shop.at("members").at(0);
    EXPECT_EQ(Keys(main),
              (std::vector<std::string>{"name", "path", "kind", "counted", "lines", "code",
                                        "comment", "blank", "designer", "procedures", "declares",
                                        "controls", "error", "notes"}));
    EXPECT_EQ(main.at("kind"), "Form");
    EXPECT_EQ(main.at("lines"), 7) << "9 less 2 blank lines";
    EXPECT_EQ(main.at("designer"), 29);
    EXPECT_EQ(main.at("controls"), Json({{"MSComctlLib.ListView", 1},
                                         {"VB.CommandButton", 2},
                                         {"VB.Frame", 2},
                                         {"VB.Menu", 2}}));
    const Json& api = shop.at("members").at(2);
    EXPECT_EQ(api.at("declares"),
              Json::parse(R"([{"name":"GetTickCount","library":"kernel32","line":3},
                              {"name":"FindWindow","library":"user32","line":4},
                              {"name":"Sleep","library":"kernel32","line":7}])"));
    const Json& report = shop.at("members").at(4);
    EXPECT_EQ(report.at("kind"), "Designer");
    EXPECT_EQ(report.at("counted"), false);
    EXPECT_EQ(shop.at("members").at(5).at("error"), "文件不存在");
    EXPECT_EQ(shop.at("members").at(6).at("notes").at(0).at("kind"), "binary");
    EXPECT_EQ(shop.at("members").at(7).at("notes").at(0),
              Json({{"kind", "designer_not_closed"},
                    {"line", 5},
                    {"count", 1},
                    {"text", "设计块未结束：到第 5 行还有 1 个 Begin 没有对应的 End"}}));
    const Json& broken = shop.at("references").at(1);
    EXPECT_EQ(broken.at("malformed"), true);
    EXPECT_EQ(broken.at("line"), 3);
    EXPECT_EQ(shop.at("references").at(2).at("kind"), "component");
    EXPECT_EQ(shop.at("totals").at("by_kind").at("PropertyPage"), 1);
    EXPECT_EQ(shop.at("totals").at("unreadable"), 1);
    EXPECT_EQ(shop.at("totals").at("binary"), 1);

    const Json& summary = json.at("summary");
    EXPECT_EQ(summary.at("projects"), 2);
    EXPECT_EQ(summary.at("totals").at("lines"), 38) << "41 less 3 blank lines";
    EXPECT_EQ(summary.at("totals").at("members"), 9);
    EXPECT_EQ(summary.at("shared_files").at(0).at("projects"), Json({kShop, kTools}));
    const Json& comctl = summary.at("references").at(1);
    EXPECT_EQ(comctl.at("versions"), Json({"2.0", "1.3"}));
    EXPECT_EQ(comctl.at("conflict"), true);
    EXPECT_EQ(summary.at("references").at(0).at("conflict"), false);
}

TEST(InventoryJson, AVbNetProjectsReferencesAndItsForm) {
    const Json json = ParseJson(RunCli({"--inventory", "--json", kEvery}));
    const Json& project = json.at("projects").at(0);
    EXPECT_EQ(project.at("kind"), "vbnet");
    EXPECT_EQ(project.at("type"), nullptr);
    std::vector<std::string> kinds;
    for (const Json& reference : project.at("references")) {
        kinds.push_back(reference.at("kind"));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"assembly", "assembly", "package", "package", "com",
                                               "project", "package"}));
    EXPECT_EQ(project.at("references").at(4).at("detail"), "tlbimp");
    EXPECT_EQ(project.at("members").at(0).at("kind"), "Form");
    EXPECT_EQ(project.at("members").at(0).at("designer"), 14);
    EXPECT_EQ(project.at("members").at(1).at("kind"), "Code");
}

TEST(InventoryCsv, ARowPerMemberAndOnePerReference) {
    const RunResult members = RunCli({"--inventory", "--csv", kTools});
    EXPECT_EQ(members.status, kExitSuccess) << members.err;
    EXPECT_EQ(members.out,
              "project,member,kind,lines,code,comment,blank,designer,procedures,declares,controls,"
              "problem\r\n" +
                  kTools + ",..\\Shared\\Api.bas,Module,16,15,1,0,0,2,3,0,\r\n" + kTools +
                  ",Tool.cls,Class,3,3,0,0,4,1,0,0,\r\n");
    const RunResult references = RunCli({"--inventory", "--csv=references", kGroup});
    EXPECT_EQ(
        references.out,
        "project,kind,name,guid,version,location,detail,conflict,problem\r\n" + kShop +
            ",type_library,OLE Automation,00020430-0000-0000-C000-000000000046,2.0,"
            "C:\\Windows\\System32\\stdole2.tlb,0,,\r\n" +
            kShop +
            ",type_library,,,,,,,"
            "工程文件第 3 行的引用格式不对，已照原文列出："
            "Reference=*\\G{00020430-0000-0000-C000-000000000046#2.0#0#broken.tlb#Broken\r\n" +
            kShop +
            ",component,MSCOMCTL.OCX,831FDD16-0C5C-11D2-A9FC-0000F8754DA1,2.0,MSCOMCTL.OCX,0,"
            "yes,\r\n" +
            kShop + ",vb6_project,Tools.vbp,,,..\\Tools\\Tools.vbp,,,\r\n" + kTools +
            ",type_library,OLE Automation,00020430-0000-0000-C000-000000000046,2.0,"
            "C:\\Windows\\System32\\stdole2.tlb,0,,\r\n" +
            kTools +
            ",component,MSCOMCTL.OCX,831FDD16-0C5C-11D2-A9FC-0000F8754DA1,1.3,MSCOMCTL.OCX,0,"
            "yes,\r\n");
}

TEST(InventoryCsv, ProblemsAndFormulasInTheirCells) {
    const RunResult run = RunCli({"--inventory", "--csv", kShop});
    for (const std::string row : {",Report.Dsr,Designer,0,0,0,0,0,0,0,0,设计器只列出，不统计\r\n",
                                  ",Gone.bas,Module,0,0,0,0,0,0,0,0,文件不存在\r\n",
                                  ",Open.frm,Form,2,2,0,0,4,1,0,1,设计块未结束：到第 5 行还有 1 个 "
                                  "Begin 没有对应的 End\r\n"}) {
        EXPECT_NE(run.out.find(kShop + row), std::string::npos) << row << run.out;
    }
    TempFolder folder;
    folder.Write("=SUM(A1).bas", "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub\r\n");
    const std::string project = folder.Write("P.vbp", "Module=M; =SUM(A1).bas\r\n");
    const RunResult formula = RunCli({"--inventory", "--csv", project});
    EXPECT_NE(formula.out.find(project + ",'=SUM(A1).bas,Module,2,"), std::string::npos)
        << formula.out;
    const RunResult asFolder = RunCli({"--inventory", "--csv", folder.Path("")});
    EXPECT_EQ(asFolder.status, kExitSuccess) << asFolder.err;
    EXPECT_NE(asFolder.out.find(",'=SUM(A1).bas,"), std::string::npos) << asFolder.out;
}

TEST(InventoryStatus, TheLargestThatApplies) {
    TempFolder folder;
    const std::string missing = folder.Path("Gone.vbp");
    const RunResult none = RunCli({"--inventory", missing});
    EXPECT_EQ(none.status, kExitProjectUnusable);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "文件" + missing + "不存在！\n");
    const std::string group =
        folder.Write("G.vbg", "Project=" + kTools + "\r\nProject=Gone.vbp\r\n");
    const RunResult withGone = RunCli({"--inventory", "--json", group});
    EXPECT_EQ(withGone.status, kExitProjectUnusable);
    EXPECT_NE(withGone.err.find("工程" + missing + "不存在，已跳过\n"), std::string::npos)
        << withGone.err;
    EXPECT_EQ(ParseJson(withGone).at("projects").size(), 1u);
    const std::string empty = folder.Write("Empty.vbg", "VBGROUP 5.0\r\n");
    EXPECT_EQ(RunCli({"--inventory", empty}).status, kExitProjectUnusable);
    EXPECT_EQ(RunCli({"--inventory", kTools}).status, kExitSuccess);
}

// Runs the command line as a user whom permissions bind (see other_user.h).
std::optional<RunResult> RunAsOtherUser(const std::vector<std::string>& args) {
    const auto text = tallix::testing::AsOtherUser([&] {
        const RunResult run = RunCli(args);
        return std::to_string(run.status) + "\x1F" + run.out + "\x1F" + run.err;
    });
    if (!text) {
        return std::nullopt;
    }
    const auto first = text->find('\x1F');
    const auto second = text->find('\x1F', first + 1);
    return RunResult{std::stoi(text->substr(0, first)), text->substr(first + 1, second - first - 1),
                     text->substr(second + 1)};
}

TEST(InventoryStatus, FoldersAndProjectsThatCannotBeRead) {
    TempFolder folder;
    folder.Write("App/Main.vb", "Module M\r\n    Sub A()\r\n    End Sub\r\nEnd Module\r\n");
    folder.Write("App/Locked/L.vb", "Sub Hidden()\r\n");
    const std::string app = folder.Write("App/App.vbproj", "<Project Sdk=\"S\" />");
    folder.Write("Set/One/One.bas", "Attribute VB_Name = \"O\"\r\nx = 1\r\n");
    folder.Write("Set/One/One.vbp", "Module=O; One.bas\r\n");
    const std::string net = folder.Write("Set/Net/Net.vbproj", "<Project Sdk=\"S\" />");
    std::filesystem::permissions(folder.path() / "App/Locked", std::filesystem::perms::none);
    std::filesystem::permissions(folder.path() / "Set/Net/Net.vbproj",
                                 std::filesystem::perms::none);
    const auto sdk = RunAsOtherUser({"--inventory", app});
    if (!sdk) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(sdk->status, kExitMembersUnreadable);
    EXPECT_EQ(sdk->err, "工程" + app + "：文件夹" + folder.Path("App/Locked") +
                            "无法读取（Permission denied），其中的成员未统计\n");
    EXPECT_NE(sdk->out.find("过程 1 个"), std::string::npos) << sdk->out;

    const auto set = RunAsOtherUser({"--inventory", "--json", folder.Path("Set")});
    ASSERT_TRUE(set);
    EXPECT_EQ(set->status, kExitProjectUnusable);
    EXPECT_NE(set->err.find("文件" + net + "无法读取（Permission denied）！\n"), std::string::npos)
        << set->err;
    const Json failed = ParseJson(*set).at("projects").at(0);
    EXPECT_EQ(failed.at("project"), net);
    EXPECT_EQ(failed.at("error"), "无法读取（Permission denied）");
    EXPECT_TRUE(failed.at("members").empty());
}

TEST(InventoryStatus, OutputThatCannotBeWrittenIsNotSuccess) {
    for (const char* format : {"--json", "--csv", "--csv=references", "--skip-blank"}) {
        std::ostringstream out;
        out.setstate(std::ios::badbit);
        std::ostringstream err;
        EXPECT_EQ(Main({"--inventory", format, kTools}, out, err), kExitOutputUnwritable) << format;
        EXPECT_EQ(err.str(), "结果无法写入标准输出！\n") << format;
    }
}

}  // namespace
}  // namespace tallix::cli
