// The command line on Windows, run in-process on a project written as a Chinese Windows user
// writes one: Chinese folder and member names, backslash member paths, a project file in
// code page 936, and the report in the same code page.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "engine/text/wide_text.h"
#include "report_bytes.h"
#include "run_cli.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::ExpectedReport;
using testing::ReadFileBytes;
using testing::RunCli;
using testing::RunResult;

using Json = nlohmann::json;

// "工程乗": the last character is 0x81 0x5C in code page 936, a backslash byte that is no
// separator. The project file reads, in code page 936:
//   Form=窗体\主窗体.frm
//   Module=模块; 乗\模块.bas
//   Class=类; CLASSES\c.cls       (the folder is "Classes" on disk)
//   Module=共享; ..\共享\lib.bas  (beside the project's folder)
constexpr const char* kProjectFolder = "工程乗";
constexpr const char* kProjectBytes =
    "Type=Exe\r\n"
    "Form=\xB4\xB0\xCC\xE5\\\xD6\xF7\xB4\xB0\xCC\xE5.frm\r\n"
    "Module=\xC4\xA3\xBF\xE9; \x81\x5C\\\xC4\xA3\xBF\xE9.bas\r\n"
    "Class=\xC0\xE0; CLASSES\\c.cls\r\n"
    "Module=\xB9\xB2\xCF\xED; ..\\\xB9\xB2\xCF\xED\\lib.bas\r\n"
    "Startup=\"\xD6\xF7\xB4\xB0\xCC\xE5\"\r\n";

std::string WithForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class WindowsProject : public ::testing::Test {
protected:
    void SetUp() override {
        // The form: designer block and attribute lines are left out; 3 code, 1 comment
        // ("' 注释"), 1 blank.
        dir.Write("工程乗\\窗体\\主窗体.frm",
                  "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n"
                  "Attribute VB_Name = \"\xD6\xF7\xB4\xB0\xCC\xE5\"\r\nOption Explicit\r\n"
                  "' \xD7\xA2\xCA\xCD\r\n\r\nPrivate Sub Form_Load()\r\nEnd Sub\r\n");
        // Hidden, which keeps a project file from being found but not a member from being
        // read: 1 code, 1 comment.
        const std::string hidden = dir.Write(
            "工程乗\\乗\\模块.bas",
            "Attribute VB_Name = \"\xC4\xA3\xBF\xE9\"\r\nx = 1\r\n' \xCB\xB5\xC3\xF7\r\n");
        ASSERT_TRUE(::SetFileAttributesW(Utf8ToWide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
        dir.Write("工程乗\\Classes\\c.cls",
                  "Attribute VB_Name = \"C\"\r\nPublic X As Long\r\n\r\n");
        dir.Write("共享\\lib.bas", "Attribute VB_Name = \"Lib\"\r\nSub S()\r\nEnd Sub\r\n");
        project = dir.Write("工程乗\\项目.vbp", kProjectBytes);
    }

    // Checks the four members against the paths they were opened under, whichever
    // separator the project path used.
    void ExpectCounted(const RunResult& run, const std::string& projectPath) {
        ASSERT_EQ(run.status, kExitSuccess) << run.err;
        EXPECT_EQ(run.err, "");
        const Json json = Json::parse(run.out);
        EXPECT_EQ(json.at("project"), projectPath);
        const std::string folder =
            projectPath.substr(0, projectPath.size() - std::string("项目.vbp").size());
        const std::vector<std::string> names = {"窗体\\主窗体.frm", "乗\\模块.bas",
                                                "CLASSES\\c.cls", "..\\共享\\lib.bas"};
        const std::vector<std::int64_t> lines = {4, 2, 1, 2};
        const Json& members = json.at("members");
        ASSERT_EQ(members.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i]);
            EXPECT_EQ(members[i].at("name"), names[i]);
            // Names are used as written: no separator turned, no letter case resolved.
            EXPECT_EQ(members[i].at("path"), folder + names[i]);
            EXPECT_EQ(members[i].at("lines"), lines[i]);
            EXPECT_TRUE(members[i].at("error").is_null());
        }
        EXPECT_EQ(json.at("found_lines"),
                  "窗体\\主窗体.frm:4,乗\\模块.bas:2,CLASSES\\c.cls:1,..\\共享\\lib.bas:2");
        EXPECT_EQ(json.at("total"), 9);
    }

    tallix::testing::TempDir dir;
    std::string project;
};

TEST_F(WindowsProject, CountsChineseBackslashMembersAndWritesTheReportInCodePage936) {
    const std::string report = dir.Str("结果.LOG");
    const RunResult run = RunCli({"--json", "--skip-blank", "--report", report, project});
    ExpectCounted(run, project);

    const std::string root = dir.Str();
    ASSERT_TRUE(std::all_of(root.begin(), root.end(), [](char c) { return c > 0; })) << root;
    EXPECT_EQ(ReadFileBytes(report),
              ExpectedReport(root + "\\\xB9\xA4\xB3\xCC\x81\x5C\\\xCF\xEE\xC4\xBF.vbp",
                             "\xB4\xB0\xCC\xE5\\\xD6\xF7\xB4\xB0\xCC\xE5.frm:4,"
                             "\x81\x5C\\\xC4\xA3\xBF\xE9.bas:2,CLASSES\\c.cls:1,"
                             "..\\\xB9\xB2\xCF\xED\\lib.bas:2",
                             "9"));
}

TEST_F(WindowsProject, ProjectGivenWithForwardSlashesCountsTheSame) {
    const std::string slashed = WithForwardSlashes(project);
    ExpectCounted(RunCli({"--json", "--skip-blank", slashed}), slashed);
    // Mixed, as a path pasted together from two sources may be.
    const std::string mixed = dir.Str() + "/" + kProjectFolder + "\\项目.vbp";
    ExpectCounted(RunCli({"--json", "--skip-blank", mixed}), mixed);
}

TEST_F(WindowsProject, HiddenSystemAndWildcardProjectsAreNotCounted) {
    const std::string hidden = dir.Write("h.vbp", kProjectBytes);
    const std::string system = dir.Write("s.vbp", kProjectBytes);
    ASSERT_TRUE(::SetFileAttributesW(Utf8ToWide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(Utf8ToWide(system).c_str(), FILE_ATTRIBUTE_SYSTEM));
    // A folder is no project file: it is counted as a set of projects.
    for (const std::string& path : {hidden, system}) {
        const RunResult run = RunCli({"--json", path});
        EXPECT_EQ(run.status, kExitProjectUnusable) << path;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "文件" + path + "不存在！\n");
    }
    // A wildcard finds the project in the existence test, but names no file to open.
    const std::string wildcard = dir.Str("工程乗\\*.vbp");
    const RunResult run = RunCli({"--json", wildcard});
    EXPECT_EQ(run.status, kExitProjectUnusable);
    EXPECT_EQ(run.err, "文件" + wildcard + "不存在！\n");
}

TEST(WindowsArguments, PathFromTheDriveRootIsAProjectNotAnOption) {
    // "/VB/p.vbp" is a path on the current drive, not a "/VB" switch.
    const RunResult run = RunCli({"--json", "/no-such-folder/工程.vbp"});
    EXPECT_EQ(run.status, kExitProjectUnusable) << run.err;
    EXPECT_EQ(run.err, "文件/no-such-folder/工程.vbp不存在！\n");
}

TEST_F(WindowsProject, MissingMemberIsNamedWithThePathTried) {
    const std::string gone = dir.Write("工程乗\\缺.vbp", "Module=\xC8\xB1; \xC8\xB1\\a.bas\r\n");
    const RunResult run = RunCli({gone});
    EXPECT_EQ(run.status, kExitMembersUnreadable);
    EXPECT_EQ(run.err, "成员缺\\a.bas无法读取：文件不存在，按0行计算（" + dir.Str() +
                           "\\工程乗\\缺\\a.bas）\n");
}

}  // namespace
}  // namespace tallix::cli
