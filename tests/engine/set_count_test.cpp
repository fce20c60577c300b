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

// What a set's count handed on, project by project.
struct Counted {
    SetProject project;
    std::vector<MemberCount> members;
    ProjectRead read;
};

class Recorder : public SetCountSink {
public:
    explicit Recorder(std::size_t stopBefore = SIZE_MAX) : stopBefore_(stopBefore) {}

    bool BeginProject(const SetProject& project) override {
        if (projects.size() == stopBefore_) {
            return false;
        }
        EXPECT_FALSE(open_) << "a project began inside another";
        open_ = true;
        projects.push_back({project, {}, {}});
        return true;
    }
    void Member(const MemberCount& member) override {
        EXPECT_TRUE(open_) << "a member outside its project";
        projects.back().members.push_back(member);
    }
    void EndProject(const SetProject& project, const ProjectRead& read) override {
        EXPECT_EQ(project.path, projects.back().project.path);
        open_ = false;
        projects.back().read = read;
    }

    std::vector<Counted> projects;

private:
    std::size_t stopBefore_;
    bool open_ = false;
};

std::string FoundLines(const Counted& counted) {
    return BuildResultTexts(counted.members).foundLines;
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

    Recorder recorder;
    const SetTotal total = CountSet(set.projects, {false, true}, recorder, 2);
    ASSERT_EQ(recorder.projects.size(), 2u);
    EXPECT_EQ(BuildResultTexts(recorder.projects[0].members).totalLines, "13");
    EXPECT_EQ(FoundLines(recorder.projects[1]), "Own.bas:5,..\\shared\\COMMON.bas:10,Link.bas:10");
    EXPECT_EQ(recorder.projects[1].members[3].problem.error, FileError::Missing);
    EXPECT_EQ(total.lines, 18);
    EXPECT_EQ(total.tally, (LineTally{18, 3, 0}));
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
                                           {dir.Str("absent.vbp"), SourceKind::Vb6},
                                           {dir.Str("p.vbp"), SourceKind::Vb6}};
    Recorder one;
    const SetTotal oneTotal = CountSet(projects, {}, one, 1);
    Recorder four;
    const SetTotal fourTotal = CountSet(projects, {}, four, 4);
    ASSERT_EQ(four.projects.size(), 3u);
    ASSERT_EQ(four.projects[0].members.size(), 40u);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_EQ(four.projects[0].members[i].name, one.projects[0].members[i].name);
        EXPECT_EQ(four.projects[0].members[i].lines, static_cast<std::int64_t>(i % 7 + 1));
    }
    EXPECT_EQ(FoundLines(four.projects[2]), FoundLines(one.projects[0]));
    EXPECT_EQ(four.projects[1].read.problem.error, FileError::Missing);
    EXPECT_TRUE(four.projects[1].members.empty());
    EXPECT_EQ(fourTotal.lines, oneTotal.lines);
    // 40 comment lines and 5 * 21 + 10 code lines; each file once, though named twice.
    EXPECT_EQ(fourTotal.lines, 155);

    const auto members = CountMembers(dir.Str() + testing::kSeparator, {"m6.bas", "none.bas"},
                                      SourceKind::Vb6, {false, true}, 2);
    EXPECT_EQ(members[0].lines, 6);
    EXPECT_EQ(members[1].problem.error, FileError::Missing);
}

TEST_F(SetCounting, SinkThatStopsEndsTheCountBeforeTheNextProject) {
    dir.Write("a.bas", Vb6Module(2));
    dir.Write("p.vbp", "Module=A; a.bas\r\n");
    const std::vector<SetProject> projects(3, {dir.Str("p.vbp"), SourceKind::Vb6});
    Recorder recorder(1);
    CountSet(projects, {}, recorder, 2);
    ASSERT_EQ(recorder.projects.size(), 1u);
    EXPECT_EQ(recorder.projects[0].members.size(), 1u);
}

TEST_F(SetCounting, FileNamedUnderBothKindsCountsAsVbNetWhateverTheOrder) {
    // Under VB6 rules the header and the attribute line are left out: 2 lines; under VB.NET
    // rules all 4 count.
    dir.Write("Shared/m.bas", "VERSION 1.0 CLASS\r\nAttribute VB_Name = \"M\"\r\nx = 1\r\n' c\r\n");
    dir.Write("Six/Six.vbp", "Module=M; ..\\Shared\\m.bas\r\n");
    dir.Write("Net/Net.vbproj",
              "<Project>\r\n  <Compile Include=\"..\\Shared\\m.bas\" />\r\n</Project>\r\n");
    const SetProject six{dir.Str("Six/Six.vbp"), SourceKind::Vb6};
    const SetProject net{dir.Str("Net/Net.vbproj"), SourceKind::VbNet};
    for (const auto& order :
         {std::vector{six, net}, std::vector{net, six}, std::vector{six, six}}) {
        Recorder recorder;
        const SetTotal total = CountSet(order, {}, recorder, 2);
        const bool both = order[0].kind != order[1].kind;
        EXPECT_EQ(total.lines, both ? 4 : 2) << order[0].path << " first";
        EXPECT_EQ(total.tally, both ? (LineTally{3, 1, 0}) : (LineTally{1, 1, 0}));
    }
}

TEST_F(SetCounting, ManyDistinctFilesEachCountOnce) {
    std::string project;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "f" + std::to_string(i) + ".bas";
        dir.Write(name, Vb6Module(1));
        project += "Module=M; " + name + "\r\nModule=M; " + name + "\r\n";
    }
    dir.Write("p.vbp", project);
    Recorder recorder;
    const SetTotal total = CountSet({{dir.Str("p.vbp"), SourceKind::Vb6}}, {}, recorder, 2);
    EXPECT_EQ(recorder.projects[0].members.size(), 600u);
    EXPECT_EQ(total.lines, 600) << "300 files of 2 lines, each named twice, once each";
}

TEST_F(SetCounting, ProjectOfMoreMembersThanAreReadAheadIsCountedWhole) {
    dir.Write("m.bas", Vb6Module(1));
    std::string project;
    constexpr std::size_t kMembers = (1 << 16) + 5;
    for (std::size_t i = 0; i < kMembers; ++i) {
        project += i % 1000 == 999 ? "Module=G; gone.bas\r\n" : "Module=M; m.bas\r\n";
    }
    dir.Write("big.vbp", project);
    Recorder recorder;
    const SetTotal total = CountSet({{dir.Str("big.vbp"), SourceKind::Vb6}}, {}, recorder, 2);
    ASSERT_EQ(recorder.projects.size(), 1u);
    const auto& members = recorder.projects[0].members;
    ASSERT_EQ(members.size(), kMembers);
    EXPECT_EQ(members[998].problem.error, FileError::None);
    EXPECT_EQ(members[999].problem.error, FileError::Missing);
    EXPECT_EQ(members.back().name, "m.bas");
    EXPECT_EQ(total.lines, 2) << "one file, named many times, counts once";
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
