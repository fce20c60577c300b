#include "cli/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "json_keys.h"
#include "report_bytes.h"
#include "run_cli.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::ExpectedReport;
using testing::Keys;
using testing::ReadFileBytes;
using testing::RunCli;
using testing::RunResult;
using testing::TempFolder;
// Ordered, so that the key checks also see the order in which the keys were written.
using Json = nlohmann::ordered_json;

// Counts established by hand from the classification rules; every file uses CR LF.
// Form1.frm: designer and attribute lines are left out, then 3 code, 1 comment, 1 blank.
constexpr const char* kForm =
    "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption = \"x\"\r\nEnd\r\n"
    "Attribute VB_Name = \"Form1\"\r\nAttribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Exposed = False\r\nOption Explicit\r\n\r\n' comment\r\n"
    "Private Sub Form_Load()\r\nEnd Sub\r\n";
// Mod1.bas: a spaces-only line is blank, a tab-led line is code: 3 code, 1 comment, 1 blank.
constexpr const char* kModule =
    "Attribute VB_Name = \"Mod1\"\r\n'only comment\r\n   \r\nSub A()\r\n\tx = 1\r\nEnd Sub\r\n";

// Form, module, an empty class and a module whose file does not exist, in that order.
std::string WriteVb6Project(const TempFolder& folder) {
    folder.Write("Form1.frm", kForm);
    folder.Write("Mod1.bas", kModule);
    folder.Write("Empty.cls", "");
    return folder.Write("Demo.vbp",
                        "Type=Exe\r\nForm=Form1.frm\r\nModule=Mod1; Mod1.bas\r\n"
                        "Class=Empty; Empty.cls\r\nModule=Gone; Gone.bas\r\n"
                        "Startup=\"Form1\"\r\n");
}

// Main.vb: 3 code, 1 comment, 1 blank. Sub\Helper.vb: 2 code (tab-led), 1 comment. 模块.vb:
// the byte-order mark keeps its first line from being a comment, so 3 code.
std::string WriteVbNetProject(const TempFolder& folder) {
    folder.Write("Main.vb", "Imports System\r\n\r\n' comment\r\nModule Main\r\nEnd Module");
    folder.Write("Sub/Helper.vb", "\tTabbed()\r\n\t\r\n  ' indented comment\r\n");
    folder.Write("模块.vb", "\xEF\xBB\xBF' 注释\r\nPublic Class 甲\r\nEnd Class\r\n");
    return folder.Write("App.VBPROJ",
                        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Project>\r\n"
                        "  <ItemGroup>\r\n    <Compile Include=\"Main.vb\" />\r\n"
                        "    <Compile Include=\"My Project\\AssemblyInfo.vb\" />\r\n"
                        "    <Compile Include=\"Form1.Designer.vb\">\r\n"
                        "    <Compile Include=\"Sub\\Helper.vb\">\r\n"
                        "    <Compile Include=\"模块.vb\" />\r\n  </ItemGroup>\r\n</Project>\r\n");
}

void ExpectMember(const Json& member, const std::string& name, const std::string& path,
                  std::int64_t lines, std::int64_t code, std::int64_t comment, std::int64_t blank) {
    SCOPED_TRACE(name);
    EXPECT_EQ(member.at("name"), name);
    EXPECT_EQ(member.at("path"), path);
    EXPECT_EQ(member.at("lines"), lines);
    EXPECT_EQ(member.at("code"), code);
    EXPECT_EQ(member.at("comment"), comment);
    EXPECT_EQ(member.at("blank"), blank);
}

TEST(RunJson, Vb6ProjectHasExactlyTheAgreedKeysAndValues) {
    TempFolder folder;
    const std::string project = WriteVb6Project(folder);
    RunResult run = RunCli({"--json", project});

    EXPECT_EQ(run.status, kExitMembersUnreadable);
    const Json json = Json::parse(run.out);
    EXPECT_EQ(Keys(json),
              (std::vector<std::string>{"project", "kind", "skip_blank", "skip_comments", "members",
                                        "found_lines", "total"}));
    EXPECT_EQ(json.at("project"), project);
    EXPECT_EQ(json.at("kind"), "vb6");
    EXPECT_EQ(json.at("skip_blank"), false);
    EXPECT_EQ(json.at("skip_comments"), false);

    const Json& members = json.at("members");
    ASSERT_EQ(members.size(), 4u);
    for (const Json& member : members) {
        EXPECT_EQ(Keys(member), (std::vector<std::string>{"name", "path", "lines", "code",
                                                          "comment", "blank", "error"}));
    }
    ExpectMember(members[0], "Form1.frm", folder.Path("Form1.frm"), 5, 3, 1, 1);
    ExpectMember(members[1], "Mod1.bas", folder.Path("Mod1.bas"), 5, 3, 1, 1);
    ExpectMember(members[2], "Empty.cls", folder.Path("Empty.cls"), 0, 0, 0, 0);
    ExpectMember(members[3], "Gone.bas", folder.Path("Gone.bas"), 0, 0, 0, 0);
    EXPECT_TRUE(members[0].at("error").is_null());
    EXPECT_TRUE(members[2].at("error").is_null()) << "an empty member is not an error";
    EXPECT_EQ(members[3].at("error"), "文件不存在");

    EXPECT_EQ(json.at("found_lines"), "Form1.frm:5,Mod1.bas:5");
    EXPECT_EQ(json.at("total"), 10);

    // One line per unreadable member, naming it.
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("Gone.bas"), std::string::npos) << run.err;
}

TEST(RunCsv, OneRowPerMemberInProjectOrderWithItsError) {
    TempFolder folder;
    const std::string project = WriteVb6Project(folder);
    const RunResult run = RunCli({"--skip-blank", "--csv", project});
    EXPECT_EQ(run.status, kExitMembersUnreadable);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "project,member,path,lines,code,comment,blank,error\r\n" + project +
                           ",Form1.frm," + folder.Path("Form1.frm") + ",4,3,1,1,\r\n" + project +
                           ",Mod1.bas," + folder.Path("Mod1.bas") + ",4,3,1,1,\r\n" + project +
                           ",Empty.cls," + folder.Path("Empty.cls") + ",0,0,0,0,\r\n" + project +
                           ",Gone.bas," + folder.Path("Gone.bas") + ",0,0,0,0,文件不存在\r\n");
}

TEST(RunJson, OptionsChangeLinesButNotTheClassCounts) {
    TempFolder folder;
    const std::string project = WriteVb6Project(folder);
    const Json blank = Json::parse(RunCli({"--skip-blank", "--json", project}).out);
    EXPECT_EQ(blank.at("skip_blank"), true);
    EXPECT_EQ(blank.at("skip_comments"), false);
    EXPECT_EQ(blank.at("found_lines"), "Form1.frm:4,Mod1.bas:4");
    EXPECT_EQ(blank.at("total"), 8);

    const Json both =
        Json::parse(RunCli({"--skip-blank", "--skip-comments", "--json", project}).out);
    EXPECT_EQ(both.at("skip_comments"), true);
    ExpectMember(both.at("members")[0], "Form1.frm", folder.Path("Form1.frm"), 3, 3, 1, 1);
    EXPECT_EQ(both.at("found_lines"), "Form1.frm:3,Mod1.bas:3");
    EXPECT_EQ(both.at("total"), 6);
}

TEST(RunJson, VbNetProjectKindFromUpperCaseExtensionAndMappedPaths) {
    TempFolder folder;
    const std::string project = WriteVbNetProject(folder);
    RunResult run = RunCli({"--json", project});

    EXPECT_EQ(run.status, kExitSuccess);
    EXPECT_EQ(run.err, "");
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("kind"), "vbnet");
    const Json& members = json.at("members");
    ASSERT_EQ(members.size(), 3u);
    ExpectMember(members[0], "Main.vb", folder.Path("Main.vb"), 5, 3, 1, 1);
    ExpectMember(members[1], "Sub\\Helper.vb", folder.Path("Sub/Helper.vb"), 3, 2, 1, 0);
    ExpectMember(members[2], "模块.vb", folder.Path("模块.vb"), 3, 3, 0, 0);
    for (const Json& member : members) {
        EXPECT_TRUE(member.at("error").is_null());
    }
    EXPECT_EQ(json.at("found_lines"), "Main.vb:5,Sub\\Helper.vb:3,模块.vb:3");
    EXPECT_EQ(json.at("total"), 11);
    // Without --json the same run prints the table, its last row the total.
    RunResult table = RunCli({project});
    EXPECT_EQ(table.status, kExitSuccess);
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 7) << table.out;
    EXPECT_TRUE(table.out.ends_with("      11       8       2       1  合计\n")) << table.out;
}

TEST(RunJson, ExplicitKindOverridesTheExtension) {
    TempFolder folder;
    const std::string project = WriteVbNetProject(folder);
    // Read with the VB6 rules, a .vbproj names no members.
    RunResult run = RunCli({"--vb6", "--json", project});
    EXPECT_EQ(run.status, kExitSuccess);
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("kind"), "vb6");
    EXPECT_TRUE(json.at("members").empty());
    EXPECT_EQ(json.at("found_lines"), "");
    EXPECT_EQ(json.at("total"), 0);
}

TEST(RunJson, CountsEveryMemberBeyondTheWindowsEightyOne) {
    TempFolder folder;
    std::string vbp;
    constexpr int kMembers = 100;
    for (int i = 0; i < kMembers; ++i) {
        const std::string name = "m" + std::to_string(i);
        folder.Write(name + ".bas",
                     "Attribute VB_Name = \"" + name + "\"\r\nSub A()\r\nEnd Sub\r\n");
        vbp += "Module=" + name + "; " + name + ".bas\r\n";
    }
    const Json json = Json::parse(RunCli({"--json", folder.Write("Big.vbp", vbp)}).out);
    ASSERT_EQ(json.at("members").size(), std::size_t{kMembers});
    EXPECT_EQ(json.at("members")[kMembers - 1].at("name"), "m99.bas");
    EXPECT_EQ(json.at("members")[kMembers - 1].at("lines"), 2);
    EXPECT_EQ(json.at("total"), 2 * kMembers);
}

TEST(RunJson, StaysValidUtf8WhenTheProjectPathIsNot) {
    if (tallix::testing::kWindows) {
        GTEST_SKIP() << "Windows file names are always Unicode";
    }
    TempFolder folder;
    folder.Write("F.frm", "Attribute VB_Name = \"F\"\r\nEnd\r\n");
    const std::string project = folder.Write("bad\xFF.vbp", "Form=F.frm\r\n");
    RunResult run = RunCli({"--json", project});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    const Json json = Json::parse(run.out);  // throws on ill-formed UTF-8
    const std::string shown = json.at("project");
    EXPECT_NE(shown.find("bad\xEF\xBF\xBD.vbp"), std::string::npos) << shown;
    EXPECT_EQ(json.at("total"), 1);
}

// A stream whose device is full from its limit on: the state std::cout is left in when
// standard output cannot be written.
class FullBuffer : public std::streambuf {
public:
    explicit FullBuffer(std::size_t room) : room_(room) {}
    std::string taken;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        if (taken.size() >= room_) {
            return traits_type::eof();
        }
        taken += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t room_;
};

TEST(RunFailures, OutputThatCannotBeWrittenIsNotSuccess) {
    TempFolder folder;
    const std::string project = WriteVbNetProject(folder);
    const std::string report = folder.Path("R.LOG");
    for (const std::string format : {"", "--json", "--csv"}) {
        for (const std::size_t room : {std::size_t{0}, std::size_t{100}}) {
            SCOPED_TRACE(std::to_string(room) + " " + format);
            FullBuffer full(room);
            std::ostream out(&full);
            std::ostringstream err;
            std::vector<std::string> args = {"--report", report, project};
            if (!format.empty()) {
                args.insert(args.begin(), format);
            }
            EXPECT_EQ(Main(args, out, err), 5);
            EXPECT_EQ(err.str(), "结果无法写入标准输出！\n");
            EXPECT_EQ(full.taken.size(), room);
            // The report does not depend on standard output.
            EXPECT_EQ(ReadFileBytes(report), ExpectedReport(project,
                                                            "Main.vb:5,Sub\\Helper.vb:3,"
                                                            "\xC4\xA3\xBF\xE9.vb:3",
                                                            "11"));
            std::filesystem::remove(report);
        }
    }
    // Help and version text too.
    FullBuffer full(0);
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(Main({"--version"}, out, err), 5);
    EXPECT_EQ(err.str(), "结果无法写入标准输出！\n");
}

TEST(RunFailures, HostileMemberNamesAreNeitherOpenedShortNorPrintedRaw) {
    using namespace std::string_literals;
    TempFolder folder;
    folder.Write("ok.bas", "Attribute VB_Name = \"A\"\r\nx = 1\r\n");
    const std::string project = folder.Write("q.vbp",
                                             "Module=A; ok.bas\r\nForm=ok.bas\0IGNORED\\..\\x\r\n"
                                             "Module=B; b\x1B[31m.bas\r\n"s);
    const RunResult table = RunCli({project});
    EXPECT_EQ(table.status, kExitMembersUnreadable);
    EXPECT_NE(table.out.find("  0  ok.bas\\x00IGNORED\\..\\x\n"), std::string::npos) << table.out;
    EXPECT_TRUE(table.out.ends_with("  合计\n")) << table.out;
    EXPECT_NE(table.out.find("\n       1       1       0       0  合计"), std::string::npos)
        << table.out;
    EXPECT_EQ(table.err, "成员ok.bas\\x00IGNORED\\..\\x无法读取：文件不存在，按0行计算（" +
                             folder.Path("ok.bas\\x00IGNORED/../x") +
                             "）\n成员b\\x1B[31m.bas无法读取：文件不存在，按0行计算（" +
                             folder.Path("b\\x1B[31m.bas") + "）\n");

    const Json json = Json::parse(RunCli({"--json", project}).out);
    EXPECT_EQ(json.at("found_lines"), "ok.bas:1");
    EXPECT_EQ(json.at("members")[1].at("name"), "ok.bas\0IGNORED\\..\\x"s);
    EXPECT_EQ(json.at("members")[1].at("error"), "文件不存在");
}

TEST(RunFailures, MissingProjectOrFolderWithoutProjectsPrintsNothingAndExitsOne) {
    TempFolder folder;
    folder.Write("notes.txt", "x");
    const std::pair<std::string, std::string> cases[] = {
        {folder.Path("none.vbp"), "文件" + folder.Path("none.vbp") + "不存在！\n"},
        {folder.Path("none.VBG"), "文件" + folder.Path("none.VBG") + "不存在！\n"},
        {folder.Path("none.sln"), "文件" + folder.Path("none.sln") + "不存在！\n"},
        {folder.Path(""), "文件夹" + folder.Path("") + "中没有工程文件（.vbp 或 .vbproj）！\n"},
    };
    for (const auto& [project, message] : cases) {
        for (const char* json : {"--json", "--skip-blank", "--csv"}) {
            RunResult run = RunCli({json, project});
            EXPECT_EQ(run.status, kExitProjectUnusable);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, message);
        }
    }
}

}  // namespace
}  // namespace tallix::cli

namespace tallix::cli {
namespace {

TEST(RunReport, WritesTheWindowsFiveLinesForTheProjectAsGiven) {
    TempFolder folder;
    const std::string project = WriteVb6Project(folder);
    const std::string report = folder.Path("out/R.LOG");
    std::filesystem::create_directories(folder.Path("out"));
    const RunResult run = RunCli({"--report", report, project});
    EXPECT_EQ(run.status, kExitMembersUnreadable);  // Gone.bas is still missing
    // Labels and rules in code page 936, every line ending in CR LF.
    EXPECT_EQ(ReadFileBytes(report), ExpectedReport(project, "Form1.frm:5,Mod1.bas:5", "10"));
}

TEST(RunReport, UnwritableReportIsSaidAndExitsFour) {
    TempFolder folder;
    const std::string project = WriteVb6Project(folder);
    const std::string report = folder.Path("no/such/folder/R.LOG");
    const RunResult run = RunCli({"--json", "--report", report, project});
    EXPECT_EQ(run.status, 4);  // scripts test the number
    EXPECT_NE(run.err.find("文件" + report + "无法写入："), std::string::npos) << run.err;
    EXPECT_FALSE(run.out.empty());  // the counts are still printed
    EXPECT_FALSE(std::filesystem::exists(folder.Path("no")));
}

TEST(RunReport, NoReportWhenTheProjectIsMissing) {
    TempFolder folder;
    const std::string report = folder.Path("R.LOG");
    const RunResult run = RunCli({"--report", report, folder.Path("none.vbp")});
    EXPECT_EQ(run.status, kExitProjectUnusable);
    EXPECT_FALSE(std::filesystem::exists(report));
}

}  // namespace
}  // namespace tallix::cli
