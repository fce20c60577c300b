// Real projects from public repositories, kept byte for byte: LF-only checkouts, code page
// 936 and UTF-8 members, and member names whose letter case differs from the files.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/file_system.h"
#include "engine/member_count.h"
#include "engine/project_readers.h"
#include "temp_dir.h"

namespace tallix {
namespace {

const std::string kCorpus = TALLIX_CORPUS_DIR;

struct Counted {
    std::vector<MemberCount> members;
    std::vector<std::string> unreadable;
};

Counted CountProject(const std::string& relative, SourceKind kind) {
    const std::string path = kCorpus + "/" + relative;
    Counted counted;
    const ProjectMembers project = ReadProjectFile(path, kind);
    EXPECT_EQ(project.problem.error, FileError::None) << path;
    FileLocator locator;
    for (const auto& name : project.names) {
        counted.members.push_back(CountMember(ProjectFolder(path), name, kind, {}, locator));
        if (counted.members.back().problem.error != FileError::None)
            counted.unreadable.push_back(name);
    }
    return counted;
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FileExists(kCorpus + "/MANIFEST.md")) GTEST_SKIP() << "no corpus at " << kCorpus;
    }
};

TEST_F(Corpus, LfOnlyVb6ProjectCountsEveryMember) {
    const Counted counted = CountProject("vb6-dinohopper/DinoHopper.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 20u);
    EXPECT_TRUE(counted.unreadable.empty());
    for (const auto& member : counted.members)
        EXPECT_GT(member.lines, 0) << member.name;
}

TEST_F(Corpus, MembersInOtherLetterCaseAreFound) {
    const Counted counted = CountProject("vb6-getsslib/GetssLib/GetSSLIBx.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 35u);
    EXPECT_TRUE(counted.unreadable.empty());
    const auto main = std::find_if(counted.members.begin(), counted.members.end(),
                                   [](const auto& m) { return m.name == "FORMS\\Main.frm"; });
    ASSERT_NE(main, counted.members.end());
    // Windows finds the file by the name as written; elsewhere the name on disk is looked up.
    EXPECT_TRUE(
        main->path.ends_with(testing::kWindows ? "FORMS\\Main.frm" : "GetssLib/Forms/Main.frm"))
        << main->path;
    EXPECT_GT(main->lines, 0);
}

TEST_F(Corpus, MissingPropertyPagesAreReportedNotFatal) {
    const Counted counted = CountProject("vb6-cairo-imagelist/CSImageList.vbp", SourceKind::Vb6);
    ASSERT_EQ(counted.members.size(), 6u);
    EXPECT_EQ(counted.unreadable, (std::vector<std::string>{"ppgImages.pag", "ppgControl.pag"}));
    const ResultTexts texts = BuildResultTexts(counted.members);
    EXPECT_EQ(texts.foundLines.find(".pag"), std::string::npos);
    EXPECT_GT(texts.total, 0);
}

TEST_F(Corpus, VbNetProjectsSkipDesignerAndAssemblyFiles) {
    const Counted client = CountProject("net-remote-client/Client.vbproj", SourceKind::VbNet);
    EXPECT_EQ(client.members.size(), 50u);
    EXPECT_TRUE(client.unreadable.empty());
    const Counted chinese = CountProject("net-xscj-chinese/XsCjMagemnt.vbproj", SourceKind::VbNet);
    EXPECT_EQ(chinese.members.size(), 5u);
    EXPECT_TRUE(chinese.unreadable.empty());
    for (const auto& member : chinese.members) {
        EXPECT_EQ(member.name.find(".Designer."), std::string::npos);
        // With both options off every line is counted.
        EXPECT_EQ(member.lines, member.tally.code + member.tally.comment + member.tally.blank);
    }
}

TEST_F(Corpus, ProjectReadWithTheOtherKindHasNoMembers) {
    EXPECT_TRUE(CountProject("net-remote-client/Client.vbproj", SourceKind::Vb6).members.empty());
    EXPECT_TRUE(CountProject("vb6-dinohopper/DinoHopper.vbp", SourceKind::VbNet).members.empty());
}

}  // namespace
}  // namespace tallix
