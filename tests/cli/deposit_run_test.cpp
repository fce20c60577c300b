// tallix --deposit: the options, the summary and its JSON, and every way a deposit can end.
#include "cli/deposit_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "engine/projects/project_title.h"
#include "json_keys.h"
#include "report_bytes.h"
#include "run_cli.h"
#include "temp_folder.h"

namespace tallix::cli {
namespace {

using testing::Keys;
using testing::ReadFileBytes;
using testing::RunCli;
using testing::RunResult;
using testing::TempFolder;
using Json = nlohmann::ordered_json;

std::string Module(int codeLines, const std::string& extra = "") {
    std::string text = "Attribute VB_Name = \"M\"\r\n' note\r\n\r\n" + extra;
    for (int i = 0; i < codeLines; ++i) {
        text += "x = " + std::to_string(i) + "\r\n";
    }
    return text;
}

TEST(DepositArguments, AreTakenAsGiven) {
    const ParseOutcome plain = ParseArguments({"--deposit", "out.pdf", "p.vbp"});
    ASSERT_TRUE(plain.options.has_value()) << plain.err;
    EXPECT_EQ(plain.options->deposit, "out.pdf");
    EXPECT_FALSE(plain.options->softwareName.has_value());
    EXPECT_FALSE(plain.options->softwareVersion.has_value());
    EXPECT_FALSE(plain.options->allPages);

    const ParseOutcome all =
        ParseArguments({"--deposit=软著.pdf", "--software-name", "教务管理系统",
                        "--software-version=", "--all-pages", "--report", "r.log", "p.vbp"});
    ASSERT_TRUE(all.options.has_value()) << all.err;
    EXPECT_EQ(all.options->deposit, "软著.pdf");
    EXPECT_EQ(all.options->softwareName, std::optional<std::string>("教务管理系统"));
    EXPECT_EQ(all.options->softwareVersion, std::optional<std::string>(""))
        << "an empty version is a version, as given";
    EXPECT_TRUE(all.options->allPages);
    EXPECT_EQ(all.options->report, "r.log");
}

TEST(DepositArguments, RefuseWhatDoesNotGoWithThem) {
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    const Case cases[] = {
        {{"--deposit", "o.pdf", "--csv", "p.vbp"}, "--csv 不能与 --deposit 同用"},
        {{"--deposit", "o.pdf", "--csv=references", "--inventory", "p.vbp"},
         "--csv 不能与 --deposit 同用"},
        {{"--inventory", "--deposit", "o.pdf", "p.vbp"}, "--inventory 不能与 --deposit 同用"},
        {{"--deposit", "o.pdf", "--json", "--inventory", "g.vbg"},
         "--inventory 不能与 --deposit 同用"},
        {{"--software-name", "N", "p.vbp"}, "--software-name 只能与 --deposit 同用"},
        {{"--software-version", "V1", "p.vbp"}, "--software-version 只能与 --deposit 同用"},
        {{"--all-pages", "p.vbp"}, "--all-pages 只能与 --deposit 同用"},
        {{"--deposit=", "p.vbp"}, "--deposit 需要一个文件名"},
        {{"--deposit", "", "p.vbp"}, "--deposit 需要一个文件名"},
        {{"p.vbp", "--deposit="}, "--deposit 需要一个文件名"},
    };
    for (const Case& c : cases) {
        const ParseOutcome outcome = ParseArguments(c.args);
        EXPECT_FALSE(outcome.options.has_value()) << c.reason;
        EXPECT_EQ(outcome.exitCode, kExitBadUsage) << c.reason;
        EXPECT_NE(outcome.err.find(c.reason), std::string::npos) << outcome.err;
    }
    EXPECT_TRUE(ParseArguments({"--deposit", "o.pdf", "--json", "p.vbp"}).options.has_value());
}

TEST(DepositArguments, HelpNamesThemAndTheNewStatus) {
    const std::string help = ParseArguments({"--help"}).out;
    for (const char* text :
         {"--deposit FILE.pdf", "--software-name NAME", "--software-version VERSION", "--all-pages",
          "6 没有可导出的源程序行", "4 报告或源程序文件无法写入"}) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
}

class DepositRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("a.bas", Module(3));
        folder.Write("b.bas", Module(2));
        project = folder.Write("Demo.vbp", "Module=A; a.bas\r\nModule=B; b.bas\r\n");
    }

    RunResult Deposit(std::vector<std::string> args) {
        args.insert(args.begin(), {"--deposit", pdf});
        return RunCli(args);
    }

    TempFolder folder;
    std::string project;
    std::string pdf = folder.Path("软著.pdf");
};

TEST_F(DepositRun, PrintsTheSizeThePagesAndTheFile) {
    const RunResult run = Deposit({project});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "源程序量：9 行\n源程序共 1 页，已全部导出\n已写入：" + pdf + "\n");
    EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");
}

// The size is the total the count prints with the same options.
TEST_F(DepositRun, TheSizeIsTheCountsTotal) {
    const std::vector<std::vector<std::string>> options = {
        {}, {"--skip-blank"}, {"--skip-comments"}, {"--skip-blank", "--skip-comments"}};
    const int sizes[] = {9, 7, 7, 5};
    for (std::size_t i = 0; i < options.size(); ++i) {
        std::vector<std::string> args = options[i];
        args.insert(args.begin(), "--json");
        args.push_back(project);
        const Json counted = Json::parse(RunCli(args).out);
        const Json deposit = Json::parse(Deposit(args).out);
        EXPECT_EQ(deposit.at("lines"), counted.at("total")) << i;
        EXPECT_EQ(deposit.at("lines"), sizes[i]) << i;
        EXPECT_EQ(deposit.at("skip_blank"), counted.at("skip_blank"));
        EXPECT_EQ(deposit.at("skip_comments"), counted.at("skip_comments"));
    }
}

TEST_F(DepositRun, JsonGivesTheSameAsFields) {
    std::string module = "Attribute VB_Name = \"M\"\r\n";
    for (int i = 0; i < 3100; ++i) {
        module += "y\r\n";
    }
    folder.Write("big.bas", module);
    const std::string big = folder.Write("Big.vbp", "Module=B; big.bas\r\n");
    const RunResult run = Deposit({"--json", "--software-version", "V2.0", big});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    const Json json = Json::parse(run.out);
    EXPECT_EQ(Keys(json),
              (std::vector<std::string>{"project", "deposit", "software_name", "software_version",
                                        "skip_blank", "skip_comments", "lines", "listing_pages",
                                        "deposited_pages", "document_pages"}));
    EXPECT_EQ(json.at("project"), big);
    EXPECT_EQ(json.at("deposit"), pdf);
    EXPECT_EQ(json.at("software_name"), ReadProjectTitle(big, SourceKind::Vb6).name);
    EXPECT_EQ(json.at("software_version"), "V2.0");
    EXPECT_EQ(json.at("lines"), 3100);
    EXPECT_EQ(json.at("listing_pages"), 62);
    EXPECT_EQ(json.at("deposited_pages"),
              Json::parse(R"([{"first": 1, "last": 30}, {"first": 33, "last": 62}])"));
    EXPECT_EQ(json.at("document_pages"), 60);
}

// The header's name and version come from the project's own title unless given.
TEST_F(DepositRun, NameAndVersionAreTheProjectsUnlessGiven) {
    const ProjectTitle title = ReadProjectTitle(project, SourceKind::Vb6);
    Json json = Json::parse(Deposit({"--json", project}).out);
    EXPECT_EQ(json.at("software_name"), title.name);
    EXPECT_EQ(json.at("software_version"), title.version);
    json = Json::parse(Deposit({"--json", "--software-name", "库存", project}).out);
    EXPECT_EQ(json.at("software_name"), "库存");
    EXPECT_EQ(json.at("software_version"), title.version);
    const std::string text = Deposit({"--all-pages", "--software-name", "N", project}).out;
    EXPECT_EQ(text.substr(0, text.find('\n')), "源程序量：9 行");
}

TEST_F(DepositRun, NothingToDepositWritesNoFileAndExitsSix) {
    folder.Write("c.bas", "Attribute VB_Name = \"C\"\r\n' only a comment\r\n");
    const std::string empty = folder.Write("Empty.vbp", "Module=C; c.bas\r\n");
    const RunResult run = Deposit({"--skip-comments", empty});
    EXPECT_EQ(run.status, kExitNothingToDeposit);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              empty + "没有可导出的源程序行（按当前选项统计为0行），未写入" + pdf + "！\n");
    EXPECT_FALSE(std::filesystem::exists(tallix::testing::FromUtf8(pdf)));
    // A member that cannot be read as well: still six, the larger.
    const std::string gone = folder.Write("Gone.vbp", "Module=G; gone.bas\r\n");
    EXPECT_EQ(Deposit({gone}).status, kExitNothingToDeposit);
}

TEST_F(DepositRun, UnreadableMembersAreNamedAndTheRestDeposited) {
    const std::string partly =
        folder.Write("Partly.vbp", "Module=A; a.bas\r\nModule=G; gone.bas\r\n");
    const RunResult run = Deposit({partly});
    EXPECT_EQ(run.status, kExitMembersUnreadable);
    EXPECT_NE(run.err.find("成员gone.bas无法读取：文件不存在，按0行计算"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "源程序量：5 行");
    EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");
}

TEST_F(DepositRun, AnUnwritableDepositExitsFourAndKeepsTheEarlierFile) {
    folder.Write("软著.pdf", "earlier");
    std::filesystem::permissions(tallix::testing::FromUtf8(pdf),
                                 std::filesystem::perms::owner_read);
    const RunResult run = Deposit({project});
    EXPECT_EQ(run.status, kExitReportUnwritable);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("文件" + pdf + "无法写入：", 0), 0u) << run.err;
    EXPECT_EQ(ReadFileBytes(pdf), "earlier");
    pdf = folder.Path("no folder/d.pdf");
    EXPECT_EQ(Deposit({project}).status, kExitReportUnwritable);
}

TEST_F(DepositRun, MissingProjectsExitOne) {
    EXPECT_EQ(Deposit({folder.Path("none.vbp")}).status, kExitProjectUnusable);
    EXPECT_EQ(Deposit({folder.Path("none.vbg")}).status, kExitProjectUnusable);
    std::filesystem::create_directories(tallix::testing::FromUtf8(folder.Path("nothing")));
    const RunResult nothing = Deposit({folder.Path("nothing")});
    EXPECT_EQ(nothing.status, kExitProjectUnusable);
    EXPECT_NE(nothing.err.find("中没有工程文件"), std::string::npos) << nothing.err;
    EXPECT_EQ(nothing.out, "");
    EXPECT_FALSE(std::filesystem::exists(tallix::testing::FromUtf8(pdf)));
    EXPECT_EQ(Deposit({folder.Str()}).status, kExitSuccess) << "the folder holds Demo.vbp";
}

TEST_F(DepositRun, TheReportGoesWithTheDepositOfAProject) {
    const std::string report = folder.Path("R.LOG");
    // A member that lists nothing has no entry in the report, as after Start.
    folder.Write("e.bas", "");
    project = folder.Write("Demo.vbp", "Module=A; a.bas\r\nModule=E; e.bas\r\nModule=B; b.bas\r\n");
    const RunResult run = Deposit({"--report", report, "--skip-blank", project});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(ReadFileBytes(report), testing::ExpectedReport(project, "a.bas:4,b.bas:3", "7"));
    const RunResult bad = Deposit({"--report", folder.Path("no folder/R.LOG"), project});
    EXPECT_EQ(bad.status, kExitReportUnwritable);
    EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-") << "the deposit itself was written";
}

TEST_F(DepositRun, ASetListsEachFileOnceAsItsTotalCountsIt) {
    folder.Write("Two/Two.vbp", "Module=A; ..\\A.BAS\r\nModule=C; c.bas\r\n");
    folder.Write("Two/c.bas", Module(4));
    const std::string group =
        folder.Write("All.vbg", "Project=Demo.vbp\r\nProject=Two\\Two.vbp\r\nProject=No.vbp\r\n");
    const RunResult run = Deposit({"--json", group});
    EXPECT_EQ(run.status, kExitProjectUnusable) << "a missing project";
    EXPECT_NE(run.err.find("No.vbp"), std::string::npos) << run.err;
    const Json deposit = Json::parse(run.out);
    const Json counted = Json::parse(RunCli({"--json", group}).out);
    EXPECT_EQ(deposit.at("lines"), counted.at("total"));
    EXPECT_EQ(deposit.at("lines"), 9 + 6) << "a.bas once";
    EXPECT_EQ(Deposit({"--report", folder.Path("R.LOG"), group}).status, kExitBadUsage);
    EXPECT_EQ(Deposit({"--vb6", group}).status, kExitBadUsage);
}

TEST_F(DepositRun, OutputThatCannotBeWrittenIsNotSuccess) {
    std::ostringstream err;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    CliOptions options;
    options.project = project;
    options.deposit = pdf;
    EXPECT_EQ(RunDeposit(options, out, err), kExitOutputUnwritable);
    EXPECT_NE(err.str().find("结果无法写入标准输出"), std::string::npos);
}

}  // namespace
}  // namespace tallix::cli
