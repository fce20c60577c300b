#include "cli/set_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "engine/files/file_system.h"
#include "json_keys.h"
#include "other_user.h"
#include "run_cli.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::Keys;
using testing::RunCli;
using testing::RunResult;
using testing::TempFolder;
using Json = nlohmann::ordered_json;

// Shared.bas: 2 code, 1 comment; One.bas: 1 code; Two.bas: 3 code, 1 blank. Two names the
// shared file in another letter case.
void WriteTwoProjects(const TempFolder& folder) {
    folder.Write("Common/Shared.bas", "Attribute VB_Name = \"S\"\r\nA\r\n' c\r\nB\r\n");
    folder.Write("One/One.bas", "Attribute VB_Name = \"O\"\r\nx = 1\r\n");
    folder.Write("Two/Two.bas", "Attribute VB_Name = \"T\"\r\nA\r\n\r\nB\r\nC\r\n");
    folder.Write("One/One.vbp", "Module=S; ..\\Common\\Shared.bas\r\nModule=O; One.bas\r\n");
    folder.Write("Two/Two.vbp", "Module=T; Two.bas\r\nModule=S; ..\\common\\SHARED.bas\r\n");
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(RunSet, GroupPrintsEachProjectThenATotalCountingSharedFilesOnce) {
    TempFolder folder;
    WriteTwoProjects(folder);
    const std::string group = folder.Write(
        "All.vbg", "VBGROUP 5.0\r\nStartupProject=One\\One.vbp\r\nProject=Two\\Two.vbp\r\n");
    const RunResult run = RunCli({group});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto one = run.out.find("工程：" + folder.Path("One/One.vbp") + "\n");
    const auto two = run.out.find("工程：" + folder.Path("Two/Two.vbp") + "\n");
    ASSERT_NE(one, std::string::npos) << run.out;
    ASSERT_NE(two, std::string::npos) << run.out;
    EXPECT_LT(one, two);
    // 3 + 1 in the first project, 4 + 3 in the second; the shared 3 once: 8.
    const auto first = run.out.find("\n       4       3       1       0  合计\n");
    const auto second = run.out.find("\n       7       5       1       1  合计\n");
    EXPECT_TRUE(one < first && first < two && two < second) << run.out;
    EXPECT_TRUE(run.out.ends_with(
        "\n总计（多个工程共用的文件只计一次）：统计行数 8，代码行 6，注释行 1，空白行 1\n"))
        << run.out;
}

TEST(RunSet, JsonNestsTheSingleProjectObjectsAndNamesAMissingProject) {
    TempFolder folder;
    WriteTwoProjects(folder);
    const std::string group = folder.Write(
        "All.vbg", "Project=One\\One.vbp\r\nProject=Gone\\Gone.vbp\r\nProject=Two\\Two.vbp\r\n");
    const RunResult run = RunCli({"--skip-comments", "--json", group});
    EXPECT_EQ(run.status, kExitProjectUnusable) << "a project of the group is missing";
    EXPECT_EQ(run.err, "工程" + folder.Path("Gone/Gone.vbp") + "不存在，已跳过\n");

    const Json json = Json::parse(run.out);
    EXPECT_EQ(Keys(json), (std::vector<std::string>{"projects", "total"}));
    EXPECT_EQ(json.at("total"), 7) << "the comment line of the shared file is left out";
    const Json& projects = json.at("projects");
    ASSERT_EQ(projects.size(), 2u);
    const RunResult alone = RunCli({"--skip-comments", "--json", folder.Path("Two/Two.vbp")});
    EXPECT_EQ(projects[1], Json::parse(alone.out));
    EXPECT_EQ(projects[0].at("found_lines"), "..\\Common\\Shared.bas:2,One.bas:1");
    // Laid out as a two-space dump would lay it out, the nested objects included.
    EXPECT_EQ(run.out, json.dump(2) + "\n");

    // A group with nothing left to count fails as a folder without projects does.
    const std::string empty = folder.Write("None.vbg", "Project=Gone.vbp\r\n");
    const RunResult none = RunCli({"--json", empty});
    EXPECT_EQ(none.status, kExitProjectUnusable);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "工程" + folder.Path("Gone.vbp") + "不存在，已跳过\n工程组" + empty +
                            "中没有可统计的工程！\n");
}

TEST(RunSet, SolutionNamesWhatItSkipsAndCountsItsVisualBasicProjects) {
    TempFolder folder;
    folder.Write("App/Main.vb", "Module M\r\nEnd Module\r\n");
    folder.Write("App/App.vbproj", "<Project Sdk=\"Microsoft.NET.Sdk\" />");
    folder.Write("Lib/Lib.csproj", "<Project Sdk=\"Microsoft.NET.Sdk\" />");
    const std::string solution = folder.Write(
        "S.sln",
        "Project(\"{778DAE3C-4631-46EA-AA77-85C1314464D9}\") = \"App\", \"App\\App.vbproj\", "
        "\"{1}\"\r\nEndProject\r\n"
        "Project(\"{9A19103F-16F7-4668-BE54-9A1E7A4F7556}\") = \"Lib\", \"Lib\\Lib.csproj\", "
        "\"{2}\"\r\nEndProject\r\n"
        "Project(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Docs\", \"Docs\", "
        "\"{3}\"\r\nEndProject\r\n");
    const RunResult run = RunCli({"--json", solution});
    EXPECT_EQ(run.status, 0) << "another language's project is no failure";
    EXPECT_EQ(Lines(run.err), 2u) << run.err;
    EXPECT_NE(run.err.find("工程Lib（" + folder.Path("Lib/Lib.csproj") +
                           "）不是 Visual Basic 工程，已跳过\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("解决方案文件夹Docs不是工程"), std::string::npos) << run.err;
    const Json json = Json::parse(run.out);
    ASSERT_EQ(json.at("projects").size(), 1u);
    EXPECT_EQ(json.at("projects")[0].at("kind"), "vbnet");
    EXPECT_EQ(json.at("projects")[0].at("found_lines"), "Main.vb:2");
    EXPECT_EQ(json.at("total"), 2);

    // A Visual Basic project the solution names but that is not there fails the run, and
    // the others are still counted.
    std::ofstream(folder.path() / "S.sln", std::ios::app)
        << "Project(\"{F184B08F-C81C-45F6-A57F-5ABD9991F28F}\") = \"Gone\", "
           "\"Gone\\Gone.vbproj\", \"{4}\"\r\nEndProject\r\n";
    const RunResult missing = RunCli({"--json", solution});
    EXPECT_EQ(missing.status, kExitProjectUnusable);
    EXPECT_EQ(Lines(missing.err), 3u) << missing.err;
    EXPECT_NE(
        missing.err.find("工程Gone（" + folder.Path("Gone/Gone.vbproj") + "）不存在，已跳过\n"),
        std::string::npos)
        << missing.err;
    EXPECT_EQ(Json::parse(missing.out), json);
}

TEST(RunSet, FolderAsCsvSkipsBinObjAndGitAndQuotesOddNames) {
    TempFolder folder;
    WriteTwoProjects(folder);
    for (const char* copy : {"One/bin/Copy.vbp", "obj/Copy.vbp", ".git/Copy.vbp"}) {
        folder.Write(copy, "Module=O; ..\\One\\One.bas\r\n");
    }
    folder.Write("Odd/x,y.vbp", "Module=Q; say \"hi\".bas\r\n");
    const RunResult run = RunCli({"--csv", folder.Path("")});
    EXPECT_EQ(run.status, kExitMembersUnreadable);
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    const std::string odd = folder.Path("Odd/x,y.vbp");
    const std::string one = folder.Path("One/One.vbp");
    const std::string two = folder.Path("Two/Two.vbp");
    // Windows opens a name as written; elsewhere the name on disk is looked up.
    const std::string shared = folder.Path(tallix::testing::kWindows ? "Two/../common/SHARED.bas"
                                                                     : "Two/../Common/Shared.bas");
    EXPECT_EQ(run.out, "project,member,path,lines,code,comment,blank,error\r\n\"" + odd +
                           "\",\"say \"\"hi\"\".bas\",\"" + folder.Path("Odd/say \"\"hi\"\".bas") +
                           "\",0,0,0,0,文件不存在\r\n" + one + ",..\\Common\\Shared.bas," +
                           folder.Path("One/../Common/Shared.bas") + ",3,2,1,0,\r\n" + one +
                           ",One.bas," + folder.Path("One/One.bas") + ",1,1,0,0,\r\n" + two +
                           ",Two.bas," + folder.Path("Two/Two.bas") + ",4,3,0,1,\r\n" + two +
                           ",..\\common\\SHARED.bas," + shared + ",3,2,1,0,\r\n");
}

TEST(RunSet, StatusIsTheLargestOverAllProjects) {
    TempFolder folder;
    folder.Write("Bad/Bad.vbp", "Module=X; X.bas\r\n");
    const std::string group =
        folder.Write("G.vbg", "Project=Gone\\Gone.vbp\r\nProject=Bad\\Bad.vbp\r\n");
    const RunResult run = RunCli({group});
    EXPECT_EQ(run.status, kExitMembersUnreadable) << run.err;
    EXPECT_EQ(Lines(run.err), 2u) << run.err;
}

TEST(RunSet, OutputThatCannotBeWrittenIsNotSuccess) {
    TempFolder folder;
    WriteTwoProjects(folder);
    for (const char* format : {"--skip-blank", "--json", "--csv"}) {
        std::ostringstream out;
        out.setstate(std::ios::badbit);
        std::ostringstream err;
        EXPECT_EQ(Main({format, folder.Path("")}, out, err), kExitOutputUnwritable) << format;
        EXPECT_EQ(err.str(), "结果无法写入标准输出！\n") << format;
    }
}

TEST(RunSet, OptionsForOneProjectOnlyAreUsageErrors) {
    TempFolder folder;
    WriteTwoProjects(folder);
    const std::string group = folder.Write("All.vbg", "Project=One\\One.vbp\r\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--report", folder.Path("r.log"), group},
                                               {"--vb6", folder.Path("")},
                                               {"--vbnet", "--json", group}}) {
        const RunResult run = RunCli(args);
        EXPECT_EQ(run.status, kExitBadUsage) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("不能与 --vb6、--vbnet、--report 同用"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "r.log"));
}

// Runs the command line as a user whom permissions bind; status, then output, then errors.
std::optional<RunResult> RunCliAsOtherUser(const std::vector<std::string>& args) {
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

TEST(RunSet, AProjectThatCannotBeReadIsNamedInEveryForm) {
    TempFolder folder;
    WriteTwoProjects(folder);
    folder.Write("Net/Net.vbproj", "<Project Sdk=\"S\" />");
    std::filesystem::permissions(folder.path() / "Net/Net.vbproj", std::filesystem::perms::none);
    const std::string net = folder.Path("Net/Net.vbproj");
    const auto table = RunCliAsOtherUser({folder.Path("")});
    if (!table) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(table->status, kExitProjectUnusable);
    EXPECT_EQ(table->out.find("工程：" + net), std::string::npos) << "no table for it";
    EXPECT_NE(table->out.find("工程：" + folder.Path("Two/Two.vbp")), std::string::npos);
    EXPECT_EQ(table->err, "文件" + net + "无法读取（Permission denied）！\n");

    const auto json = RunCliAsOtherUser({"--json", folder.Path("")});
    ASSERT_TRUE(json);
    const Json failed = Json::parse(json->out).at("projects")[0];
    EXPECT_EQ(
        failed,
        (Json{{"project", net}, {"kind", "vbnet"}, {"error", "无法读取（Permission denied）"}}));

    const auto csv = RunCliAsOtherUser({"--csv", folder.Path("")});
    ASSERT_TRUE(csv);
    EXPECT_NE(csv->out.find("\r\n" + net + ",,,0,0,0,0,无法读取（Permission denied）\r\n"),
              std::string::npos)
        << csv->out;
}

TEST(RunSet, FoldersTheWalkCannotListAreNamed) {
    TempFolder folder;
    WriteTwoProjects(folder);
    folder.Write("Locked/L.vbp", "");
    std::filesystem::permissions(folder.path() / "Locked", std::filesystem::perms::none);
    const auto run = RunCliAsOtherUser({folder.Path("")});
    if (!run) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(run->status, kExitProjectUnusable);
    EXPECT_EQ(run->err, "文件夹" + folder.Path("Locked") +
                            "无法读取（Permission denied），其中的工程未统计\n");
    EXPECT_NE(run->out.find("总计"), std::string::npos) << "the rest is counted";

    std::filesystem::permissions(folder.path() / "Locked", std::filesystem::perms::owner_all);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::none);
    const auto root = RunCliAsOtherUser({folder.Path("")});
    ASSERT_TRUE(root);
    EXPECT_EQ(root->status, kExitProjectUnusable);
    EXPECT_EQ(root->out, "");
    EXPECT_EQ(root->err, "文件夹" + folder.Path("") + "无法读取（Permission denied）！\n");
}

TEST(RunProject, AnSdkFolderThatCannotBeListedIsNamedAndExitsThree) {
    TempFolder folder;
    folder.Write("App/Main.vb", "Module M\r\nEnd Module\r\n");
    folder.Write("App/Locked/L.vb", "x\r\n");
    const std::string project = folder.Write("App/App.vbproj", "<Project Sdk=\"S\" />");
    std::filesystem::permissions(folder.path() / "App/Locked", std::filesystem::perms::none);
    const auto run = RunCliAsOtherUser({project});
    if (!run) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(run->status, kExitMembersUnreadable);
    EXPECT_EQ(run->err, "工程" + project + "：文件夹" + folder.Path("App/Locked") +
                            "无法读取（Permission denied），其中的成员未统计\n");
    EXPECT_NE(run->out.find("Main.vb"), std::string::npos);
}

TEST(RunSet, HiddenProjectsAreLeftOutOfAFolder) {
    TempFolder folder;
    WriteTwoProjects(folder);
    std::filesystem::copy_file(folder.path() / "One/One.vbp", folder.path() / "One/.copy.vbp");
    const RunResult run = RunCli({"--json", folder.Path("")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // Windows hides a file by its mark (Wine gives it to names starting with "."): the
    // folder takes the copy exactly when the existence test finds it.
    const bool found = tallix::testing::kWindows && FileExists(folder.Path("One/.copy.vbp"));
    EXPECT_EQ(Json::parse(run.out).at("projects").size(), found ? 3u : 2u);
}

TEST(RunSet, SetsNamedInASetAreCountedInTheirPlace) {
    TempFolder folder;
    WriteTwoProjects(folder);
    folder.Write("Inner.vbg", "Project=Two\\Two.vbp\r\nProject=All.vbg\r\n");
    const std::string group =
        folder.Write("All.vbg", "Project=One\\One.vbp\r\nProject=Inner.vbg\r\n");
    const RunResult run = RunCli({"--json", group});
    EXPECT_EQ(run.status, 0) << "a set named again is skipped, and that is no failure";
    EXPECT_EQ(run.err, "工程组或解决方案" + group + "已经读过，已跳过\n");
    const Json json = Json::parse(run.out);
    ASSERT_EQ(json.at("projects").size(), 2u);
    EXPECT_EQ(json.at("projects")[1].at("project"), folder.Path("Two/Two.vbp"));
    EXPECT_EQ(json.at("total"), 8);
}

TEST(RunSet, ASetFileThatIsNotARegularFileIsNamedAsSuch) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Odd.sln");
    const RunResult run = RunCli({folder.Path("Odd.sln")});
    EXPECT_EQ(run.status, kExitProjectUnusable);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "文件" + folder.Path("Odd.sln") + "不是普通文件！\n");
}

TEST(RunSet, ProjectsItCannotUseAreSkippedWithTheirReason) {
    TempFolder folder;
    WriteTwoProjects(folder);
    std::filesystem::create_directories(folder.path() / "Dir.vbp");
    const std::string group = folder.Write("G.vbg", "Project=One\\One.vbp\r\nProject=Dir.vbp\r\n");
    const RunResult run = RunCli({"--csv", group});
    EXPECT_EQ(run.status, kExitProjectUnusable);
    EXPECT_EQ(run.err, "工程" + folder.Path("Dir.vbp") + "不是普通文件，已跳过\n");
}

TEST(RunSet, WhatAnSdkProjectDoesNotEvaluateIsNamedOnce) {
    TempFolder folder;
    folder.Write("App/Main.vb", "Module M\r\nEnd Module\r\n");
    folder.Write("App/App.vbproj",
                 "<Project Sdk=\"S\"><ItemGroup Condition=\"'$(X)'=='1'\">"
                 "<Compile Include=\"$(Gen)\\*.vb\" /><Compile Include=\"$(Gen)\\*.vb\" />"
                 "</ItemGroup></Project>");
    const std::string project = folder.Path("App/App.vbproj");
    for (const std::string& target : {project, folder.Path("")}) {
        const RunResult run = RunCli({"--json", target});
        EXPECT_EQ(run.status, 0) << target;
        EXPECT_EQ(run.err, "工程" + project + "：条件 '$(X)'=='1' 未求值，按成立处理\n工程" +
                               project + "：$(Gen)\\*.vb 中的属性未求值，按原文处理\n")
            << target;
    }
}

TEST(GuardingMemory, MemoryThatRunsOutEndsTheRunWithItsStatus) {
    std::ostringstream err;
    EXPECT_EQ(GuardingMemory(err, []() -> int { throw std::bad_alloc(); }), kExitOutOfMemory);
    EXPECT_EQ(err.str(), "内存不足，统计未完成！\n");
    EXPECT_EQ(GuardingMemory(err, [] { return 3; }), 3);
}

}  // namespace
}  // namespace tallix::cli
