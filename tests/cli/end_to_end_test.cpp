// Runs the built tallix program itself, as a user or script would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "real_projects.h"
#include "report_bytes.h"
#include "temp_folder.h"

namespace {

using Json = nlohmann::json;

struct Process {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs a shell command in which $TALLIX is the program; keeps its standard output and error.
Process RunShell(const std::string& script) {
    tallix::cli::testing::TempFolder folder;
    const std::string errFile = folder.Path("stderr.txt");
    const std::string command =
        "TALLIX=" + Quoted(TALLIX_CLI_EXE) + "; (" + script + ") 2>" + Quoted(errFile);
    Process process;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return process;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        process.out.append(buffer, n);
    }
    const int raw = pclose(pipe);
    process.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(errFile, std::ios::binary);
    process.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return process;
}

Process RunTallix(const std::string& arguments) {
    return RunShell("\"$TALLIX\" " + arguments);
}

using tallix::testing::kCorpusDir;
using tallix::testing::kFixturesDir;
using CorpusEndToEnd = tallix::testing::CorpusTest;

TEST_F(CorpusEndToEnd, JsonOnACompleteVb6Project) {
    const std::string project = kCorpusDir + "/vb6-dinohopper/DinoHopper.vbp";
    const Process run = RunTallix("--json --skip-blank " + Quoted(project));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("project"), project);
    EXPECT_EQ(json.at("kind"), "vb6");
    EXPECT_EQ(json.at("skip_blank"), true);
    const Json& members = json.at("members");
    ASSERT_EQ(members.size(), 20u);  // the project names 20 members, all present
    std::int64_t sum = 0;
    std::size_t listed = 0;
    for (const Json& member : members) {
        SCOPED_TRACE(member.dump());
        EXPECT_TRUE(member.at("error").is_null());
        EXPECT_EQ(member.at("path").get<std::string>().rfind(kCorpusDir + "/vb6-dinohopper/", 0),
                  0u);
        const std::int64_t lines = member.at("lines");
        EXPECT_EQ(lines,
                  member.at("code").get<std::int64_t>() + member.at("comment").get<std::int64_t>());
        sum += lines;
        listed += lines > 0 ? 1 : 0;
    }
    EXPECT_EQ(json.at("total"), sum);
    const std::string found = json.at("found_lines");
    EXPECT_EQ(std::count(found.begin(), found.end(), ',') + 1, std::ptrdiff_t(listed)) << found;
    EXPECT_EQ(found.rfind(members[0].at("name").get<std::string>() + ":", 0), 0u) << found;
}

TEST_F(CorpusEndToEnd, MissingMembersExitThreeAndAreNamedOnStandardError) {
    // Two of this project's property pages are not in the folder.
    const Process run =
        RunTallix("--json " + Quoted(kCorpusDir + "/vb6-cairo-imagelist/CSImageList.vbp"));
    EXPECT_EQ(run.status, 3);
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("members").size(), 6u);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_NE(run.err.find("ppgImages.pag"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("ppgControl.pag"), std::string::npos) << run.err;
}

// Every .vbp and .vbproj under a folder, outside .git, bin and obj, as a second walk finds
// them.
std::size_t ProjectFilesUnder(const std::string& root) {
    namespace fs = std::filesystem;
    std::size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        std::string name = it->path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (it->is_directory() && (name == ".git" || name == "bin" || name == "obj")) {
            it.disable_recursion_pending();
        } else if (it->is_regular_file() && !name.starts_with('.') &&
                   (name.ends_with(".vbp") || name.ends_with(".vbproj"))) {
            ++count;
        }
    }
    return count;
}

TEST_F(CorpusEndToEnd, CorpusFolderTotalsItsProjectsCountedAlone) {
    const Process run = RunTallix("--json " + Quoted(kCorpusDir));
    EXPECT_EQ(run.status, 3) << "the image list misses two members";
    const Json json = Json::parse(run.out);
    const Json& projects = json.at("projects");
    ASSERT_EQ(projects.size(), ProjectFilesUnder(kCorpusDir));
    // Each member file once, by the file it is, as the grand total takes it.
    std::map<std::string, std::int64_t> files;
    for (const Json& project : projects) {
        const std::string path = project.at("project");
        SCOPED_TRACE(path);
        const Process alone = RunTallix("--json " + Quoted(path));
        EXPECT_EQ(Json::parse(alone.out), project);
        for (const Json& member : project.at("members")) {
            if (member.at("error").is_null()) {
                files.emplace(std::filesystem::canonical(member.at("path").get<std::string>()),
                              member.at("lines").get<std::int64_t>());
            }
        }
    }
    std::int64_t sum = 0;
    for (const auto& [file, lines] : files) {
        sum += lines;
    }
    EXPECT_EQ(json.at("total"), sum);
    EXPECT_EQ(projects[0].at("project"), kCorpusDir + "/net-remote-client/Client.vbproj");
}

TEST(EndToEnd, StatusesForVersionBadUsageAndMissingProject) {
    const Process version = RunTallix("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("1.00.0062"), std::string::npos);

    const Process usage = RunTallix("--vb6 --vbnet x.vbp");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_NE(usage.err, "");

    const Process missing = RunTallix("--json " + Quoted(kFixturesDir + "/no-such-project.vbp"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "文件" + kFixturesDir + "/no-such-project.vbp不存在！\n");
}

TEST(EndToEnd, ReportFileHoldsExactlyTheFiveLines) {
    tallix::cli::testing::TempFolder folder;
    // One module in a subfolder named in other letter case, with a GBK comment: 2 code,
    // 1 comment, 1 blank; a member whose name is Chinese (GBK in the project file).
    folder.Write("Mods/a.bas",
                 "Attribute VB_Name = \"A\"\r\n' \xD7\xA2\xCA\xCD\r\n\r\nSub A()\r\nEnd Sub\r\n");
    folder.Write("模块.bas", "Attribute VB_Name = \"B\"\r\nx = 1\r\n");
    const std::string project =
        folder.Write("p.vbp", "Module=A; MODS\\a.bas\r\nModule=B; \xC4\xA3\xBF\xE9.bas\r\n");
    const std::string report = folder.Path("R.LOG");
    const Process run =
        RunTallix("--skip-blank --report " + Quoted(report) + " " + Quoted(project));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        tallix::cli::testing::ReadFileBytes(report),
        tallix::cli::testing::ExpectedReport(project, "MODS\\a.bas:3,\xC4\xA3\xBF\xE9.bas:1", "4"));
}

// The fixture projects as a user would run them; the counts are those worked out by hand in
// tests/fixtures/README.md.
struct FixtureRun {
    std::string options;
    std::string project;  // under tests/fixtures
    int status;
    std::string foundLines;
    std::int64_t total;
    std::vector<std::string> unreadable;  // named on standard error, in project order
};

void PrintTo(const FixtureRun& run, std::ostream* out) {
    *out << run.options << " " << run.project;
}

class FixtureEndToEnd : public ::testing::TestWithParam<FixtureRun> {};

TEST_P(FixtureEndToEnd, CountsAndUnreadableMembers) {
    const FixtureRun& expected = GetParam();
    const std::string project = kFixturesDir + "/" + expected.project;
    const Process run = RunTallix("--json " + expected.options + " " + Quoted(project));
    EXPECT_EQ(run.status, expected.status) << run.err;
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json.at("found_lines"), expected.foundLines);
    EXPECT_EQ(json.at("total"), expected.total);

    std::vector<std::string> withError;
    for (const Json& member : json.at("members")) {
        if (!member.at("error").is_null()) {
            withError.push_back(member.at("name"));
        }
    }
    EXPECT_EQ(withError, expected.unreadable);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'),
              std::ptrdiff_t(expected.unreadable.size()))
        << run.err;
    std::size_t at = 0;
    for (const std::string& name : expected.unreadable) {
        at = run.err.find("成员" + name + "无法读取", at);
        EXPECT_NE(at, std::string::npos) << name << " in " << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FixtureEndToEnd,
    ::testing::Values(
        FixtureRun{
            "", "vb6-lf/Hopper.vbp", 0, "frmGame.frm:11,modScore.bas:7,clsPlayer.cls:8", 26, {}},
        FixtureRun{"--skip-blank --skip-comments",
                   "vb6-lf/Hopper.vbp",
                   0,
                   "frmGame.frm:7,modScore.bas:5,clsPlayer.cls:6",
                   18,
                   {}},
        FixtureRun{"--skip-comments",
                   "vb6-chinese/App/Reader.vbp",
                   3,
                   "FORMS\\Main.frm:5,..\\[Include]\\Mod.bas:5,模块.bas:4,"
                   "..\\[Include]\\TEXT\\gb18030.BAS:6",
                   20,
                   {"..\\[Include]\\Gone.cls", "ppgMissing.pag"}},
        // The kind follows the extension.
        FixtureRun{"--skip-blank",
                   "vbnet-bom/Grades.vbproj",
                   3,
                   "MainForm.vb:10,models\\Student.vb:7,Data\\成绩.vb:6,Legacy.vb:6",
                   29,
                   {"Reports\\Summary.vb"}}));

TEST(EndToEnd, ReportOfAGbkProjectNamesItsMembersInCodePage936) {
    tallix::cli::testing::TempFolder folder;
    const std::string report = folder.Path("R.LOG");
    const std::string project = kFixturesDir + "/vb6-chinese/App/Reader.vbp";
    const Process run = RunTallix("--report " + Quoted(report) + " " + Quoted(project));
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(tallix::cli::testing::ReadFileBytes(report),
              tallix::cli::testing::ExpectedReport(
                  project,
                  "FORMS\\Main.frm:6,..\\[Include]\\Mod.bas:5,\xC4\xA3\xBF\xE9.bas:5,"
                  "..\\[Include]\\TEXT\\gb18030.BAS:7",
                  "23"));
}

TEST(EndToEnd, OutputThatCannotBeWrittenExitsFive) {
    tallix::cli::testing::TempFolder folder;
    folder.Write("a.bas", "Attribute VB_Name = \"A\"\r\nx = 1\r\n");
    std::string vbp;
    std::string found;
    // Enough members that their rows go to a temporary file, which with standard output
    // closed must not take its place.
    constexpr int kMembers = 20000;
    for (int i = 0; i < kMembers; ++i) {
        vbp += "Module=A; a.bas\r\n";
        found += (i == 0 ? "" : ",") + std::string("a.bas:1");
    }
    const std::string project = Quoted(folder.Write("p.vbp", vbp));
    const std::string report = folder.Path("R.LOG");

    // A full device, a closed descriptor, and a reader gone with SIGPIPE ignored.
    for (const std::string& sink : {std::string(">/dev/full"), std::string(">&-")}) {
        for (const std::string& args :
             {std::string(), std::string("--json "), std::string("--version "),
              "--report " + Quoted(report) + " "}) {
            SCOPED_TRACE(args + sink);
            const Process run = RunTallix(args + project + " " + sink);
            EXPECT_EQ(run.status, 5);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, "结果无法写入标准输出！\n");
        }
    }
    // Standard output closed must not let the report take its place.
    EXPECT_TRUE(tallix::cli::testing::ReadFileBytes(report) ==
                tallix::cli::testing::ExpectedReport(folder.Path("p.vbp"), found,
                                                     std::to_string(kMembers)));
    const Process gone = RunShell("trap '' PIPE; { { \"$TALLIX\" --json " + project +
                                  "; echo $? >&3; } | head -c 1 >/dev/null; } 3>&1");
    EXPECT_EQ(gone.out, "5\n");
    EXPECT_EQ(gone.err, "结果无法写入标准输出！\n");
    // The program ignores SIGPIPE itself: a shell that lets it through changes nothing.
    for (const std::string format : {"--csv ", "", "--json "}) {
        const Process closed = RunShell("trap - PIPE; { { \"$TALLIX\" " + format + project +
                                        "; echo $? >&3; } | head -c 1 >/dev/null; } 3>&1");
        EXPECT_EQ(closed.out, "5\n") << format;
        EXPECT_EQ(closed.err, "结果无法写入标准输出！\n") << format;
    }
}

TEST(EndToEnd, AnEmptyReportNameIsAUsageErrorThatWritesNothing) {
    tallix::cli::testing::TempFolder folder;
    const std::string q = folder.Write("q.vbp", "Module=A; a.bas\r\n");
    const std::string other = folder.Write("other.vbp", "Module=A; a.bas\r\n");
    for (const std::string& report : {std::string("--report="), std::string("--report ''")}) {
        SCOPED_TRACE(report);
        const Process run = RunTallix(report + " " + Quoted(q) + " " + Quoted(other));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(tallix::cli::testing::ReadFileBytes(q), "Module=A; a.bas\r\n");
        EXPECT_EQ(tallix::cli::testing::ReadFileBytes(other), "Module=A; a.bas\r\n");
    }
}

// The deposit's size (源程序量) is the total tallix prints with the same options, for every
// real project and set, however its members are shared, missing or encoded.
TEST_F(CorpusEndToEnd, DepositSizeIsTheTotalOfEveryProjectAndSet) {
    const std::string sets = kCorpusDir + "/sets";
    const std::string projects[] = {
        kCorpusDir + "/vb6-dinohopper/DinoHopper.vbp",
        kCorpusDir + "/vb6-getsslib/GetssLib/GetSSLIBx.vbp",
        kCorpusDir + "/vb6-cairo-imagelist/CSImageList.vbp",
        kCorpusDir + "/net-remote-client/Client.vbproj",
        sets + "/vbg-ltest/LTest/LTest.vbg",
        sets +
            "/sln-codeconverter-mixed/Tests/TestData/MultiFileCharacterization/SourceFiles/"
            "CharacterizationTestSolution.sln",
        sets + "/sdk-efcore-datagrid/DataGridViewExample/DataGridViewExample.vbproj",
        sets + "/folder-chinese-ch2",
        kCorpusDir,
    };
    tallix::cli::testing::TempFolder folder;
    const std::string pdf = folder.Path("d.pdf");
    int deposits = 0;
    for (const std::string& project : projects) {
        for (const char* options : {"", "--skip-blank --skip-comments "}) {
            SCOPED_TRACE(options + project);
            const Process counted = RunTallix("--json " + std::string(options) + Quoted(project));
            ASSERT_FALSE(counted.out.empty()) << counted.err;
            const Process deposit = RunTallix("--json --deposit " + Quoted(pdf) + " " +
                                              std::string(options) + Quoted(project));
            ASSERT_FALSE(deposit.out.empty()) << deposit.err;
            EXPECT_EQ(Json::parse(deposit.out).at("lines"), Json::parse(counted.out).at("total"));
            EXPECT_EQ(deposit.status, counted.status) << deposit.err;
            deposits += deposit.status == 0;
        }
    }
    EXPECT_GT(deposits, 4);
}

}  // namespace
