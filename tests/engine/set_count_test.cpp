#include "engine/set_count.h"

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

}  // namespace
}  // namespace tallix
