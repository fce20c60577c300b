#include "engine/counting/set_count.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tallix {
namespace {

std::string Vb6Module(int codeLines) {
    std::string text = "Attribute VB_Name = \"M\"\r\n' note\r\n";
    for (int i = 0; i < codeLines; ++i) {
        text += "x = 1\r\n";
    }
    return text;
}

class SetCounting : public ::testing::Test {
protected:
    testing::TempDir dir;
};

TEST_F(SetCounting, SharedMemberCountsOnceInTheGrandTotal) {
    dir.Write("Shared/Common.bas", Vb6Module(10));
    dir.Write("One/Own.bas", Vb6Module(3));
    dir.Write("Two/Own.bas", Vb6Module(5));
    dir.Write("One/One.vbp", "Module=C; ..\\Shared\\Common.bas\r\nModule=O; Own.bas\r\n");
    // The second project reaches the shared file in another letter case, and a third copy
    // of it through a hard link.
    std::filesystem::create_hard_link(dir.path() / "Shared/Common.bas",
                                      dir.path() / "Two/Link.bas");
    dir.Write("Two/Two.vbp",
              "Module=O; Own.bas\r\nModule=C; ..\\shared\\COMMON.bas\r\nModule=L; Link.bas\r\n"
              "Module=G; Gone.bas\r\n");
    const ProjectSet set = ReadProjectSet(
        dir.Write("All.vbg", "Project=One\\One.vbp\r\nProject=Two\\Two.vbp\r\nProject=No.vbp\r\n"));
    ASSERT_EQ(set.projects.size(), 2u);

    const SetCount count = CountProjects(set.projects, {false, true}, 2);
    ASSERT_EQ(count.projects.size(), 2u);
    EXPECT_EQ(count.projects[0].texts.totalLines, "13");
    EXPECT_EQ(count.projects[1].texts.foundLines,
              "Own.bas:5,..\\shared\\COMMON.bas:10,Link.bas:10");
    EXPECT_EQ(count.projects[1].members[3].problem.error, FileError::Missing);
    EXPECT_EQ(count.total, 18);
    EXPECT_EQ(count.tally, (LineTally{18, 3, 0}));
}

TEST_F(SetCounting, OrderAndCountsDoNotDependOnThreads) {
    std::string project;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "m" + std::to_string(i) + ".bas";
        dir.Write(name, Vb6Module(i % 7));
        project += "Module=M; " + name + "\r\n";
    }
    dir.Write("p.vbp", project);
    const std::vector<SetProject> projects{{dir.Str("p.vbp"), SourceKind::Vb6},
                                           {dir.Str("absent.vbp"), SourceKind::Vb6}};
    const SetCount one = CountProjects(projects, {}, 1);
    const SetCount four = CountProjects(projects, {}, 4);
    ASSERT_EQ(four.projects[0].members.size(), 40u);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(four.projects[0].members[i].name, one.projects[0].members[i].name);
        EXPECT_EQ(four.projects[0].members[i].lines, static_cast<std::int64_t>(i % 7 + 1));
    }
    EXPECT_EQ(four.projects[0].texts.foundLines, one.projects[0].texts.foundLines);
    EXPECT_EQ(four.projects[1].problem.error, FileError::Missing);
    EXPECT_EQ(four.total, one.total);

    const auto members = CountMembers(dir.Str() + testing::kSeparator, {"m6.bas", "none.bas"},
                                      SourceKind::Vb6, {false, true}, 2);
    EXPECT_EQ(members[0].lines, 6);
    EXPECT_EQ(members[1].problem.error, FileError::Missing);
}

TEST_F(SetCounting, BatchesHandMembersOnInTheOrderNamed) {
    for (int i = 0; i < 10; ++i) {
        dir.Write("m" + std::to_string(i) + ".bas", Vb6Module(i));
    }
    for (const std::size_t batch :
         {std::size_t{1}, std::size_t{3}, std::size_t{10}, std::size_t{64}}) {
        std::vector<std::string> seen;
        std::vector<std::int64_t> lines;
        MemberBatchCounter counter(
            dir.Str() + testing::kSeparator, SourceKind::Vb6, {false, true},
            [&](const MemberCount& member) {
                seen.push_back(member.name);
                lines.push_back(member.lines);
            },
            2, batch);
        for (int i = 9; i >= 0; --i) {
            counter.Add("m" + std::to_string(i) + ".bas");
            // Nothing waits longer than its batch: whole batches are out at once.
            EXPECT_EQ(seen.size(), (10 - i) / batch * batch) << "batch " << batch;
        }
        counter.Finish();
        ASSERT_EQ(seen.size(), 10u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(seen[i], "m" + std::to_string(9 - i) + ".bas");
            EXPECT_EQ(lines[i], 9 - i);
        }
    }
}

std::vector<std::string> Paths(const SetCount& count) {
    std::vector<std::string> paths;
    for (const CountedProject& counted : count.projects) {
        paths.push_back(counted.project.path);
    }
    return paths;
}

TEST_F(SetCounting, FolderCountedWhileWalkedMatchesTheFolderReadFirst) {
    dir.Write("Shared/Common.bas", Vb6Module(10));
    for (int p = 0; p < 30; ++p) {
        const std::string name = "P" + std::to_string(p) + "/";
        dir.Write(name + "Own.bas", Vb6Module(p));
        dir.Write(name + (p % 3 == 0 ? "Deep/x.vbp" : "x.vbp"),
                  p % 3 == 0 ? "Module=O; ..\\Own.bas\r\nModule=C; ..\\..\\Shared\\COMMON.bas\r\n"
                             : "Module=O; own.BAS\r\nModule=C; ..\\Shared\\Common.bas\r\n"
                               "Module=G; Gone.bas\r\n");
    }
    dir.Write("P7/bin/Copy.vbp", "Module=O; ..\\Own.bas\r\n");
    // The same project file twice: kept under the name first in order.
    std::filesystem::create_hard_link(dir.path() / "P5/x.vbp", dir.path() / "P4/y.vbp");
    const std::string root = dir.Str();
    const SetCount read = CountProjects(ReadProjectSet(root).projects, {}, 2);
    ASSERT_EQ(read.projects.size(), 30u);
    for (const unsigned workers : {1u, 2u, 5u}) {
        const SetCount walked = CountFolder(root, {}, workers);
        EXPECT_EQ(Paths(walked), Paths(read)) << workers;
        EXPECT_EQ(walked.total, read.total);
        EXPECT_EQ(walked.tally, read.tally);
        for (std::size_t p = 0; p < walked.projects.size(); ++p) {
            EXPECT_EQ(walked.projects[p].texts.foundLines, read.projects[p].texts.foundLines);
        }
    }
    // P0/Deep, P1, P10-P19, P2, P20-P29, P3/Deep, P4/x, then P4/y where P5/x would be.
    EXPECT_EQ(Paths(read)[25], dir.Str("P4/y.vbp"));
    // Common.bas once (11 lines) and each Own.bas (p + 1 lines) but P5's, which no project
    // reaches: P5's project file is counted from P4, beside P4's own.
    EXPECT_EQ(read.total, 11 + 30 * 31 / 2 - 6);
    EXPECT_TRUE(CountFolder(dir.Str("Shared"), {}).projects.empty());
}

TEST_F(SetCounting, MemberFoundUnderAnotherCaseOrBesideAFolderOfItsName) {
    if (testing::kWindows) {
        GTEST_SKIP() << "names differing only in case cannot both exist here";
    }
    dir.Write("Exact.bas", Vb6Module(1));
    dir.Write("EXACT.bas", Vb6Module(2));
    dir.Write("other.bas", Vb6Module(3));
    dir.Write("Dir.bas/inside.bas", Vb6Module(0));
    dir.Write("DIR.BAS", Vb6Module(4));
    const auto members = CountMembers(
        dir.Str() + testing::kSeparator,
        {"Exact.bas", "EXACT.bas", "OTHER.BAS", "Dir.bas", "gone.bas"}, SourceKind::Vb6, {}, 2);
    const std::int64_t expected[] = {2, 3, 4, 5, 0};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(members[i].lines, expected[i]) << members[i].name;
    }
    EXPECT_EQ(members[2].path, dir.Str("other.bas"));
    EXPECT_EQ(members[3].path, dir.Str("DIR.BAS"));
    EXPECT_EQ(members[4].path, dir.Str("gone.bas"));
    EXPECT_TRUE(members[0].identity && members[2].identity);
    EXPECT_NE(*members[0].identity, *members[1].identity);
    EXPECT_FALSE(members[4].identity);
}

}  // namespace
}  // namespace tallix
