#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallix::cli {
namespace {

CliOptions ParseOk(const std::vector<std::string>& args) {
    ParseOutcome outcome = ParseArguments(args);
    EXPECT_TRUE(outcome.options.has_value()) << outcome.err;
    EXPECT_EQ(outcome.exitCode, kExitSuccess);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    return outcome.options.value_or(CliOptions{});
}

void ExpectBadUsage(const std::vector<std::string>& args, const std::string& reason) {
    ParseOutcome outcome = ParseArguments(args);
    EXPECT_FALSE(outcome.options.has_value());
    EXPECT_EQ(outcome.exitCode, kExitBadUsage);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("用法：tallix"), std::string::npos) << outcome.err;
}

TEST(KindFromProjectPath, VbprojInAnyLetterCaseIsVbNetAndAnythingElseVb6) {
    for (const char* path :
         {"a.vbproj", "A.VBPROJ", "dir/x.VbProJ", ".vbproj", "C:\\p\\a.vbProj"}) {
        EXPECT_EQ(KindFromProjectPath(path), SourceKind::VbNet) << path;
    }
    for (const char* path : {"a.vbp", "a.VBP", "a.vbproj.bak", "a.vbproj ", "a.xvbproj_", "vbproj",
                             "x.vbproj/a.vbp", "", "a.txt"}) {
        EXPECT_EQ(KindFromProjectPath(path), SourceKind::Vb6) << path;
    }
}

TEST(ParseArguments, KindComesFromTheFlagElseFromTheExtension) {
    EXPECT_EQ(ParseOk({"p.vbp"}).kind, SourceKind::Vb6);
    EXPECT_EQ(ParseOk({"p.VBPROJ"}).kind, SourceKind::VbNet);
    EXPECT_EQ(ParseOk({"--vbnet", "p.vbp"}).kind, SourceKind::VbNet);
    EXPECT_EQ(ParseOk({"p.vbproj", "--vb6"}).kind, SourceKind::Vb6);
    EXPECT_FALSE(ParseOk({"p.VBPROJ"}).kindGiven);
    EXPECT_TRUE(ParseOk({"--vbnet", "p.vbp"}).kindGiven);
    EXPECT_TRUE(ParseOk({"p.vbproj", "--vb6"}).kindGiven);
}

TEST(ParseArguments, FlagsAndProjectAreTakenAsGiven) {
    CliOptions plain = ParseOk({"dir\\My Project.vbp"});
    EXPECT_EQ(plain.project, "dir\\My Project.vbp");
    EXPECT_FALSE(plain.counting.skipBlankLines);
    EXPECT_FALSE(plain.counting.skipCommentLines);
    EXPECT_FALSE(plain.json);
    EXPECT_FALSE(plain.csv);

    CliOptions all = ParseOk({"--skip-comments", "--json", "工程.vbp", "--skip-blank"});
    EXPECT_EQ(all.project, "工程.vbp");
    EXPECT_TRUE(all.counting.skipBlankLines);
    EXPECT_TRUE(all.counting.skipCommentLines);
    EXPECT_TRUE(all.json);
    EXPECT_TRUE(ParseOk({"--csv", "p.vbp"}).csv);

    // A project whose name starts with a dash is reachable after "--", even one that looks
    // like an empty report.
    EXPECT_EQ(ParseOk({"--", "-odd.vbp"}).project, "-odd.vbp");
    EXPECT_EQ(ParseOk({"--", "--report="}).project, "--report=");
    EXPECT_EQ(ParseOk({"--report=r.log", "p.vbp"}).report, "r.log");
}

TEST(ParseArguments, BadUsageIsReportedInChineseWithStatusTwo) {
    ExpectBadUsage({"--vb6", "--vbnet", "p.vbp"}, "--vb6 与 --vbnet 不能同时使用");
    ExpectBadUsage({"--csv", "p.vbp", "--json"}, "--json 与 --csv 不能同时使用");
    ExpectBadUsage({}, "缺少工程文件");
    ExpectBadUsage({"--json"}, "缺少工程文件");
    ExpectBadUsage({"a.vbp", "b.vbp"}, "无法识别的参数：b.vbp");
    ExpectBadUsage({"--bogus", "a.vbp"}, "无法识别的参数：--bogus");
    ExpectBadUsage({"--", "a.vbp", "b.vbp"}, "无法识别的参数：b.vbp\n");
    // An empty report name, however written, is refused rather than read as no report or
    // as the next argument.
    ExpectBadUsage({"--report=", "q.vbp", "other.vbp"}, "--report 需要一个文件名");
    ExpectBadUsage({"--report=", "q.vbp"}, "--report 需要一个文件名");
    ExpectBadUsage({"--report", "", "q.vbp"}, "--report 需要一个文件名");
    ExpectBadUsage({"q.vbp", "--report="}, "--report 需要一个文件名");
}

TEST(ParseArguments, HelpAndVersionPrintToStandardOutputAndSucceed) {
    ParseOutcome help = ParseArguments({"--help"});
    EXPECT_FALSE(help.options.has_value());
    EXPECT_EQ(help.exitCode, kExitSuccess);
    EXPECT_EQ(help.err, "");
    EXPECT_NE(
        help.out.find("用法：tallix [--vb6 | --vbnet] [--skip-blank] [--skip-comments] "
                      "[--json | --csv] [--report FILE] [--deposit FILE.pdf [--software-name NAME] "
                      "[--software-version VERSION] [--all-pages]] PROJECT"),
        std::string::npos)
        << help.out;
    for (const char* flag : {"--vb6", "--vbnet", "--skip-blank", "--skip-comments", "--json",
                             "--csv", "--report FILE", ".vbg", ".sln", "\"projects\""}) {
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
    }

    // Help wins over a missing project; version likewise.
    EXPECT_EQ(ParseArguments({"-h"}).out, help.out);
    ParseOutcome version = ParseArguments({"--version"});
    EXPECT_FALSE(version.options.has_value());
    EXPECT_EQ(version.exitCode, kExitSuccess);
    EXPECT_EQ(version.out, "tallix 1.00.0062\n");
}

}  // namespace
}  // namespace tallix::cli
