#include "engine/project_analysis.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <utility>

#include "other_user.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using Kind = AnalysisReason::Kind;

// A reason as the tests compare it: the system's wording of a problem differs by platform.
struct Shown {
    Kind kind;
    std::vector<std::string> paths = {};
    friend bool operator==(const Shown&, const Shown&) = default;
};

// Records every call the analysis makes on its host.
class FakeHost : public AnalysisHost {
public:
    void ShowMessage(const AnalysisReason& reason) override {
        messages.push_back({reason.kind, reason.paths});
        problems.push_back(reason.problem);
    }
    std::string ChooseProjectFile(const std::string& title, const std::string& pattern,
                                  const std::string& filterName) override {
        dialogs.push_back(title + "|" + pattern + "|" + filterName);
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void SetStartEnabled(bool enabled) override { startEnabled.push_back(enabled); }
    void StoreSetting(const std::string& key, const std::string& value) override {
        settings.emplace_back(key, value);
    }

    std::vector<Shown> messages;
    std::vector<FileProblem> problems;
    std::vector<std::string> dialogs;
    std::deque<std::string> answers;
    std::vector<bool> startEnabled;
    std::vector<std::pair<std::string, std::string>> settings;
};

using Setting = std::pair<std::string, std::string>;

class Analysis : public ::testing::Test {
protected:
    Analysis() { analysis.SourceKind = SourceKind::Vb6; }

    std::string WriteVb6Member(const std::string& name, int codeLines) {
        std::string text = "Attribute VB_Name = \"M\"\r\n";
        for (int i = 0; i < codeLines; ++i) {
            text += "x = 1\r\n";
        }
        return dir.Write(name, text);
    }

    void OpenDropped(const std::string& path) {
        analysis.ProjectPath = path;
        analysis.DroppedFlag = 1;
        analysis.OpenProject();
    }

    testing::TempDir dir;
    FakeHost host;
    ProjectAnalysis analysis{host};
};

TEST_F(Analysis, OpenAsksWithTheDialogOfTheKind) {
    analysis.OpenProject();
    analysis.SourceKind = SourceKind::VbNet;
    analysis.OpenProject();
    EXPECT_EQ(host.dialogs,
              (std::vector<std::string>{"打开VB6工程文件(*.vbp)|*.vbp|VB6工程文件",
                                        "打开VB7/8/9工程文件|*.vbproj|VB7/8/9工程文件"}));
    // Both were cancelled: nothing changed, nothing stored.
    EXPECT_TRUE(host.settings.empty());
    EXPECT_EQ(analysis.ProjectPath, "");
}

TEST_F(Analysis, OpenWithoutAKindOnlyComplains) {
    analysis.SourceKind = SourceKind::None;
    analysis.FoundLinesText = "a:1";
    analysis.OpenProject();
    EXPECT_EQ(host.messages, std::vector<Shown>{{Kind::NoKindChosen}});
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(analysis.FoundLinesText, "a:1");
}

TEST_F(Analysis, OpenReadsMembersClearsResultsAndStoresThePath) {
    const std::string project = dir.Write("p.vbp", "Form=a.frm\r\nModule=M; b.bas\r\n");
    host.answers.push_back(project);
    analysis.FoundLinesText = "old:1";
    analysis.TotalLinesText = "1";
    analysis.OpenProject();
    EXPECT_EQ(analysis.ProjectPath, project);
    ASSERT_EQ(analysis.SourceFileCount, 2);
    EXPECT_EQ(analysis.SourceFiles[0], "a.frm");
    EXPECT_EQ(analysis.SourceFiles[1], "b.bas");
    EXPECT_EQ(analysis.SourceProject, project);
    EXPECT_EQ(analysis.FoundLinesText, "");
    EXPECT_EQ(analysis.TotalLinesText, "");
    EXPECT_EQ(host.settings, (std::vector<Setting>{{"Init_Dir", project}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Analysis, DroppedPathIsTakenWithoutADialog) {
    const std::string project = dir.Write("p.vbp", "Form=a.frm\r\n");
    OpenDropped(project);
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(analysis.DroppedFlag, 0);
    EXPECT_EQ(analysis.SourceFileCount, 1);
}

TEST_F(Analysis, OpenOfAFolderKeepsTheOldListButClearsResults) {
    OpenDropped(dir.Write("p.vbp", "Form=a.frm\r\n"));
    analysis.TotalLinesText = "9";
    OpenDropped(dir.Str());
    EXPECT_EQ(analysis.SourceFileCount, 1);
    EXPECT_EQ(analysis.SourceProject, dir.Str("p.vbp")) << "the list's own project";
    EXPECT_EQ(analysis.TotalLinesText, "");
    EXPECT_EQ(host.settings.back(), Setting("Init_Dir", dir.Str()));
    EXPECT_TRUE(host.messages.empty());
    analysis.StartAnalysis();
    EXPECT_EQ(host.messages, (std::vector<Shown>{{Kind::ProjectMissing, {dir.Str()}}}));
    EXPECT_EQ(host.startEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(analysis.TotalLinesText, "");
}

TEST_F(Analysis, UnreadableProjectKeepsTheOldListAndSaysSo) {
    OpenDropped(dir.Write("p.vbp", "Form=a.frm\r\nForm=b.frm\r\n"));
    dir.Write("other.vbp", "Form=c.frm\r\n");
    const std::string wildcard = dir.Str("o*.vbp");  // exists, but no file has that name
    OpenDropped(wildcard);
    EXPECT_EQ(host.messages, (std::vector<Shown>{{Kind::ProjectUnreadable, {wildcard}}}));
    EXPECT_NE(host.problems.at(0).error, FileError::None);
    EXPECT_EQ(analysis.SourceFileCount, 2);
    EXPECT_EQ(analysis.SourceProject, dir.Str("p.vbp"));
    EXPECT_EQ(host.settings.back(), Setting("Init_Dir", wildcard));
}

TEST_F(Analysis, KeepsTheFirst81MembersAndSaysSo) {
    std::string text;
    for (int i = 0; i < 90; ++i) {
        text += "Form=f" + std::to_string(i) + ".frm\r\n";
    }
    OpenDropped(dir.Write("big.vbp", text));
    EXPECT_EQ(analysis.SourceFileCount, 81);
    EXPECT_EQ(analysis.SourceFiles[80], "f80.frm");
    EXPECT_EQ(host.messages, std::vector<Shown>{{Kind::TooManyMembers}});

    host.messages.clear();
    text.clear();
    for (int i = 0; i < 81; ++i) {
        text += "Form=g" + std::to_string(i) + ".frm\r\n";
    }
    OpenDropped(dir.Write("exact.vbp", text));
    EXPECT_EQ(analysis.SourceFileCount, 81);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Analysis, SdkStyleProjectsTakeTheirFolderUpToTheLimit) {
    analysis.SourceKind = SourceKind::VbNet;
    dir.Write("net/App.vbproj", "<Project Sdk=\"Microsoft.NET.Sdk\"></Project>");
    dir.Write("net/bin/Out.vb", "x\r\n");
    dir.Write("net/Sub/B.vb", "b = 1\r\n' two\r\n");
    dir.Write("net/a.vb", "a = 1\r\n");
    OpenDropped(dir.Str("net/App.vbproj"));
    ASSERT_EQ(analysis.SourceFileCount, 2);
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "a.vb:1,Sub\\B.vb:2");
    EXPECT_EQ(analysis.TotalLinesText, "3");

    for (int i = 0; i < 82; ++i) {
        dir.Write("net/Many/m" + std::to_string(i) + ".vb", "x\r\n");
    }
    OpenDropped(dir.Str("net/App.vbproj"));
    EXPECT_EQ(analysis.SourceFileCount, 81);
    EXPECT_EQ(host.messages, std::vector<Shown>{{Kind::TooManyMembers}});
}

TEST_F(Analysis, SdkFoldersThatCannotBeListedAreNamedAndTheRestRead) {
    analysis.SourceKind = SourceKind::VbNet;
    dir.Write("net/App.vbproj", "<Project Sdk=\"S\" />");
    dir.Write("net/a.vb", "a = 1\r\n");
    dir.Write("net/Locked/b.vb", "b = 1\r\n");
    std::filesystem::permissions(dir.path() / "net/Locked", std::filesystem::perms::none);
    const auto opened = testing::AsOtherUser([&] {
        OpenDropped(dir.Str("net/App.vbproj"));
        std::string text = std::to_string(analysis.SourceFileCount);
        for (const Shown& shown : host.messages) {
            text += " " + std::to_string(static_cast<int>(shown.kind));
            for (const std::string& path : shown.paths) {
                text += " " + path;
            }
        }
        return text;
    });
    if (!opened) {
        GTEST_SKIP() << "cannot run as a user whom permissions bind";
    }
    EXPECT_EQ(*opened, "1 " + std::to_string(static_cast<int>(Kind::FoldersUnlisted)) + " " +
                           dir.Str("net/Locked"));
}

TEST_F(Analysis, StartListsMembersWithLinesAndTotals) {
    WriteVb6Member("one.bas", 120);
    dir.Write("zero.bas", "Attribute VB_Name = \"Z\"\r\n");
    WriteVb6Member("three.bas", 7);
    OpenDropped(
        dir.Write("p.vbp", "Module=A; one.bas\r\nModule=B; zero.bas\r\nModule=C; three.bas\r\n"));
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "one.bas:120,three.bas:7");
    EXPECT_EQ(analysis.TotalLinesText, "127");
    EXPECT_EQ(host.startEnabled, (std::vector<bool>{false, true}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Analysis, StartUsesTheKindAndOptionsInForceNow) {
    dir.Write("m.bas", "Option Explicit\r\nAttribute VB_Name = \"M\"\r\n\r\n' c\r\nx\r\n");
    OpenDropped(dir.Write("p.vbp", "Module=M; m.bas\r\n"));
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.TotalLinesText, "3");
    analysis.SkipBlankLines = true;
    analysis.SkipCommentLines = true;
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.TotalLinesText, "1");
    analysis.SourceKind = SourceKind::VbNet;  // the old list, counted the other way
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "m.bas:3");
}

TEST_F(Analysis, AllZeroRunGivesEmptyListAndZeroTotal) {
    dir.Write("empty.bas", "");
    OpenDropped(dir.Write("p.vbp", "Module=E; empty.bas\r\n"));
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "");
    EXPECT_EQ(analysis.TotalLinesText, "0");
    EXPECT_TRUE(host.messages.empty());  // an empty member is no failure

    OpenDropped(dir.Write("none.vbp", "Type=Exe\r\n"));
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.TotalLinesText, "0");
}

TEST_F(Analysis, UnreadableMembersCountZeroAndAreListedOnce) {
    WriteVb6Member("ok.bas", 2);
    std::filesystem::create_directories(dir.path() / "folder.bas");
    // A path through a file, and one that a NUL would cut back to ok.bas, name no file.
    const std::string nul(1, '\0');
    OpenDropped(dir.Write("p.vbp",
                          "Module=A; missing.bas\r\nModule=B; ok.bas\r\n"
                          "Module=C; folder.bas\r\nModule=D; ok.bas\\x\r\n"
                          "Form=ok.bas" +
                              nul + "IGNORED\\..\\x\r\n"));
    ASSERT_EQ(analysis.SourceFileCount, 5);
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "ok.bas:2");
    EXPECT_EQ(analysis.TotalLinesText, "2");
    EXPECT_EQ(host.startEnabled, (std::vector<bool>{false, true}));
    const std::string folder = dir.Str() + testing::kSeparator;
    const std::string separator(1, testing::kSeparator);
    EXPECT_EQ(
        host.messages,
        (std::vector<Shown>{
            {Kind::MembersUnreadable,
             {folder + "missing.bas", folder + "folder.bas", folder + "ok.bas" + separator + "x",
              folder + "ok.bas" + nul + "IGNORED" + separator + ".." + separator + "x"}}}));
}

TEST_F(Analysis, MembersAreFoundWhateverTheirLetterCase) {
    WriteVb6Member("Forms/Main.frm", 4);
    WriteVb6Member("Модули/Файл.bas", 3);
    // ФАЙЛ and МОДУЛИ in code page 936.
    OpenDropped(dir.Write("p.vbp",
                          "Form=FORMS\\main.FRM\r\n"
                          "Module=M; \xA7\xAE\xA7\xB0\xA7\xA5\xA7\xB5\xA7\xAD\xA7\xAA\\"
                          "\xA7\xB6\xA7\xA1\xA7\xAB\xA7\xAD.BAS\r\n"));
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.FoundLinesText, "FORMS\\main.FRM:4,МОДУЛИ\\ФАЙЛ.BAS:3");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Analysis, StartWithoutAPathComplainsAndClearsResults) {
    analysis.TotalLinesText = "5";
    analysis.FoundLinesText = "a:5";
    analysis.StartAnalysis();
    EXPECT_EQ(host.messages, std::vector<Shown>{{Kind::NoProjectPath}});
    EXPECT_EQ(analysis.TotalLinesText, "");
    EXPECT_EQ(analysis.FoundLinesText, "");
    EXPECT_TRUE(host.startEnabled.empty());
}

TEST_F(Analysis, ClearForgetsOnlyThePath) {
    WriteVb6Member("a.bas", 3);
    const std::string project = dir.Write("p.vbp", "Module=A; a.bas\r\n");
    OpenDropped(project);
    analysis.StartAnalysis();
    analysis.ClearFile();
    EXPECT_EQ(analysis.ProjectPath, "");
    EXPECT_EQ(analysis.TotalLinesText, "3");
    analysis.StartAnalysis();
    EXPECT_EQ(host.messages.back(), Shown{Kind::NoProjectPath});
    analysis.ProjectPath = project;  // typed in again: the old list is counted
    analysis.StartAnalysis();
    EXPECT_EQ(analysis.TotalLinesText, "3");
}

}  // namespace
}  // namespace tallix
