// Projects as real repositories hold them: LF-only checkouts, code page 936, GB18030 and
// UTF-8 members, byte-order marks, member names whose letter case differs from the files,
// members outside the project's folder and members that are missing. The fixtures carry
// these traits with counts worked out by hand (tests/fixtures/README.md); the corpus, where
// a machine has it, holds real projects byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "engine/counting/member_count.h"
#include "engine/files/file_system.h"
#include "engine/projects/project_readers.h"
#include "real_projects.h"

namespace tallix {
namespace {

using testing::kCorpusDir;
using testing::kFixturesDir;

struct Counted {
    std::vector<MemberCount> members;
    std::vector<std::string> unreadable;
};

Counted CountProject(const std::string& path, SourceKind kind, CountOptions options = {}) {
    Counted counted;
    const ProjectMembers project = ReadProjectFile(path, kind);
    EXPECT_EQ(project.problem.error, FileError::None) << path;
    FileLocator locator;
    for (const auto& name : project.names) {
        counted.members.push_back(CountMember(ProjectFolder(path), name, kind, options, locator));
        if (counted.members.back().problem.error != FileError::None) {
            counted.unreadable.push_back(name);
        }
    }
    return counted;
}

const MemberCount* FindMember(const Counted& counted, const std::string& name) {
    const auto found = std::find_if(counted.members.begin(), counted.members.end(),
                                    [&](const MemberCount& m) { return m.name == name; });
    return found == counted.members.end() ? nullptr : &*found;
}

// A fixture member: its name as the project writes it and its lines by class; a missing
// member counts nothing and is reported.
struct FixtureMember {
    std::string name;
    LineTally tally;
    bool missing = false;
};

struct FixtureProject {
    std::string project;  // under tests/fixtures
    SourceKind kind;
    std::vector<FixtureMember> members;
    // The total with both options off, without blank lines, without comments, without both.
    std::array<std::int64_t, 4> totals;
};

void PrintTo(const FixtureProject& fixture, std::ostream* out) {
    *out << fixture.project;
}

const FixtureProject kFixtureProjects[] = {
    {"vb6-lf/Hopper.vbp",
     SourceKind::Vb6,
     {{"frmGame.frm", {7, 2, 2}},
      {"modScore.bas", {5, 1, 1}},
      {"clsPlayer.cls", {6, 1, 1}},
      {"modBom.bas", {0, 0, 0}}},
     {26, 22, 22, 18}},
    {"vb6-chinese/App/Reader.vbp",
     SourceKind::Vb6,
     {{"FORMS\\Main.frm", {4, 1, 1}},
      {"..\\[Include]\\Mod.bas", {4, 0, 1}},
      {"模块.bas", {3, 1, 1}},
      {"..\\[Include]\\TEXT\\gb18030.BAS", {5, 1, 1}},
      {"..\\[Include]\\Gone.cls", {}, true},
      {"ppgMissing.pag", {}, true}},
     {23, 19, 20, 16}},
    {"vbnet-bom/Grades.vbproj",
     SourceKind::VbNet,
     {{"MainForm.vb", {9, 1, 1}},
      {"models\\Student.vb", {6, 1, 0}},
      {"Data\\成绩.vb", {5, 1, 1}},
      {"Legacy.vb", {5, 1, 0}},
      {"Reports\\Summary.vb", {}, true}},
     {31, 29, 27, 25}},
};

class Fixtures : public ::testing::TestWithParam<FixtureProject> {
protected:
    std::string ProjectPath() const { return kFixturesDir + "/" + GetParam().project; }
};

TEST_P(Fixtures, EveryMemberCountsWhatWasWorkedOutByHand) {
    const FixtureProject& fixture = GetParam();
    const Counted counted = CountProject(ProjectPath(), fixture.kind);
    ASSERT_EQ(counted.members.size(), fixture.members.size());
    for (std::size_t i = 0; i < fixture.members.size(); ++i) {
        const FixtureMember& expected = fixture.members[i];
        const MemberCount& member = counted.members[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(member.name, expected.name);
        EXPECT_EQ(member.tally, expected.tally);
        EXPECT_EQ(member.problem.error, expected.missing ? FileError::Missing : FileError::None)
            << member.path;
    }
}

TEST_P(Fixtures, TotalsFollowTheOptions) {
    const std::array<CountOptions, 4> optionSets{
        {{false, false}, {true, false}, {false, true}, {true, true}}};
    for (std::size_t i = 0; i < optionSets.size(); ++i) {
        const Counted counted = CountProject(ProjectPath(), GetParam().kind, optionSets[i]);
        EXPECT_EQ(BuildResultTexts(counted.members).total, GetParam().totals[i])
            << "skip blank " << optionSets[i].skipBlankLines << ", skip comments "
            << optionSets[i].skipCommentLines;
    }
}

TEST_P(Fixtures, ReadWithTheOtherKindTheProjectHasNoMembers) {
    const SourceKind other =
        GetParam().kind == SourceKind::Vb6 ? SourceKind::VbNet : SourceKind::Vb6;
    EXPECT_TRUE(CountProject(ProjectPath(), other).members.empty());
}

INSTANTIATE_TEST_SUITE_P(Projects, Fixtures, ::testing::ValuesIn(kFixtureProjects));

TEST(FixtureFiles, MembersInOtherLetterCaseAreTheFilesOnDisk) {
    const Counted vb6 = CountProject(kFixturesDir + "/vb6-chinese/App/Reader.vbp", SourceKind::Vb6);
    const MemberCount* form = FindMember(vb6, "FORMS\\Main.frm");
    const MemberCount* module = FindMember(vb6, "..\\[Include]\\TEXT\\gb18030.BAS");
    const Counted net = CountProject(kFixturesDir + "/vbnet-bom/Grades.vbproj", SourceKind::VbNet);
    const MemberCount* model = FindMember(net, "models\\Student.vb");
    ASSERT_TRUE(form && module && model);
    // Windows finds a file by the name as written, after the project's folder as given;
    // elsewhere the name on disk is looked up.
    if (testing::kWindows) {
        EXPECT_TRUE(form->path.ends_with("/App/FORMS\\Main.frm")) << form->path;
        EXPECT_TRUE(module->path.ends_with("/App/..\\[Include]\\TEXT\\gb18030.BAS"))
            << module->path;
    } else {
        EXPECT_TRUE(form->path.ends_with("/App/Forms/Main.frm")) << form->path;
        EXPECT_TRUE(module->path.ends_with("/App/../[Include]/Text/Gb18030.bas")) << module->path;
        EXPECT_TRUE(model->path.ends_with("/vbnet-bom/Models/Student.vb")) << model->path;
    }
}

TEST(FixtureFiles, ResultTextsNameMembersAsTheProjectWritesThem) {
    const Counted counted =
        CountProject(kFixturesDir + "/vb6-chinese/App/Reader.vbp", SourceKind::Vb6, {true, true});
    const ResultTexts texts = BuildResultTexts(counted.members);
    EXPECT_EQ(texts.foundLines,
              "FORMS\\Main.frm:4,..\\[Include]\\Mod.bas:4,模块.bas:3,"
              "..\\[Include]\\TEXT\\gb18030.BAS:5");
    EXPECT_EQ(texts.totalLines, "16");
}

using Corpus = testing::CorpusTest;

Counted CountCorpusProject(const std::string& relative, SourceKind kind) {
    return CountProject(kCorpusDir + "/" + relative, kind);
}

TEST_F(Corpus, LfOnlyVb6ProjectCountsEveryMember) {
    const Counted counted = CountCorpusProject("vb6-dinohopper/DinoHopper.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 20u);
    EXPECT_TRUE(counted.unreadable.empty());
    for (const auto& member : counted.members) {
        EXPECT_GT(member.lines, 0) << member.name;
    }
}

TEST_F(Corpus, MembersInOtherLetterCaseAreFound) {
    const Counted counted =
        CountCorpusProject("vb6-getsslib/GetssLib/GetSSLIBx.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 35u);
    EXPECT_TRUE(counted.unreadable.empty());
    const MemberCount* main = FindMember(counted, "FORMS\\Main.frm");
    ASSERT_NE(main, nullptr);
    // Windows finds the file by the name as written; elsewhere the name on disk is looked up.
    EXPECT_TRUE(
        main->path.ends_with(testing::kWindows ? "FORMS\\Main.frm" : "GetssLib/Forms/Main.frm"))
        << main->path;
    EXPECT_GT(main->lines, 0);
}

TEST_F(Corpus, MissingPropertyPagesAreReportedNotFatal) {
    const Counted counted =
        CountCorpusProject("vb6-cairo-imagelist/CSImageList.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 6u);
    EXPECT_EQ(counted.unreadable, (std::vector<std::string>{"ppgImages.pag", "ppgControl.pag"}));
    const ResultTexts texts = BuildResultTexts(counted.members);
    EXPECT_EQ(texts.foundLines.find(".pag"), std::string::npos);
    EXPECT_GT(texts.total, 0);
}

TEST_F(Corpus, VbNetProjectsSkipDesignerAndAssemblyFiles) {
    const Counted client = CountCorpusProject("net-remote-client/Client.vbproj", SourceKind::VbNet);
    EXPECT_EQ(client.members.size(), 50u);
    EXPECT_TRUE(client.unreadable.empty());
    const Counted chinese =
        CountCorpusProject("net-xscj-chinese/XsCjMagemnt.vbproj", SourceKind::VbNet);
    EXPECT_EQ(chinese.members.size(), 5u);
    EXPECT_TRUE(chinese.unreadable.empty());
    for (const auto& member : chinese.members) {
        EXPECT_EQ(member.name.find(".Designer."), std::string::npos);
        // With both options off every line is counted.
        EXPECT_EQ(member.lines, member.tally.code + member.tally.comment + member.tally.blank);
    }
}

TEST_F(Corpus, ProjectReadWithTheOtherKindHasNoMembers) {
    EXPECT_TRUE(
        CountCorpusProject("net-remote-client/Client.vbproj", SourceKind::Vb6).members.empty());
    EXPECT_TRUE(
        CountCorpusProject("vb6-dinohopper/DinoHopper.vbp", SourceKind::VbNet).members.empty());
}

}  // namespace
}  // namespace tallix
