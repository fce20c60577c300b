// The export command, once for every toolkit: over the fake view and services, with the
// deposit written into a fresh folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/projects/project_title.h"
#include "fake_window.h"
#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "temp_dir.h"
#include "ui/form1_commands.h"

namespace tallix::testing {
namespace {

class Form1ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        // a.bas after its attribute line: code, blank, comment, code.
        dir_.Write("p.vbp", "Type=Exe\r\nModule=A; a.bas\r\n");
        dir_.Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\n' c\r\nEnd Sub\r\n");
        exportDialog_.answer = ExportSourceChoice{"教务管理系统", "V1.0", false};
    }

    void OpenAndStart(const char* project) {
        dialogs_.answer = dir_.Str(project);
        commands_.OpenProject();
        commands_.StartAnalysis();
        dialogs_.answer = dir_.Str("out");
        messages_.shown.clear();
    }

    std::string Read(const std::string& path) const {
        std::ifstream in(FromUtf8(path), std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<unreadable>";
    }

    bool Exists(const std::string& path) const { return std::filesystem::exists(FromUtf8(path)); }

    std::string Summary(int lines, const std::string& pdf) const {
        return "源程序量：" + std::to_string(lines) + " 行\n源程序共 1 页，已全部导出\n已保存到：" +
               pdf;
    }

    TempDir dir_;
    MemorySettingsStore store_;
    UserSettings settings_{store_, dir_.Str()};
    FakeView view_;
    FakeDialogs dialogs_;
    RecordingMessages messages_{view_};
    RecordingDesktop desktop_;
    FakeExportDialog exportDialog_;
    Form1Commands commands_{view_, settings_, dialogs_, messages_, desktop_, exportDialog_};
};

TEST_F(Form1ExportTest, NeedsAStartThatFoundLines) {
    dir_.Write("zero.vbp", "Module=E; empty.bas\r\n");
    dir_.Write("empty.bas", "");
    commands_.ExportSource();  // nothing opened
    dialogs_.answer = dir_.Str("p.vbp");
    commands_.OpenProject();
    commands_.ExportSource();  // opened, not started
    OpenAndStart("zero.vbp");
    ASSERT_EQ(view_.total, "0");
    commands_.ExportSource();  // started, nothing found
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>(1, "请先分析完成后，才能导出源程序!"));
    EXPECT_TRUE(exportDialog_.shown.empty());
    EXPECT_TRUE(dialogs_.saveCalls.empty());
}

TEST_F(Form1ExportTest, AsksForTheHeaderThenAFileAndWritesTheDeposit) {
    OpenAndStart("p.vbp");
    commands_.ExportSource();
    const ProjectTitle title = ReadProjectTitle(dir_.Str("p.vbp"), SourceKind::Vb6);
    EXPECT_EQ(exportDialog_.shown,
              (std::vector<ExportSourceChoice>{{title.name, title.version, false}}));
    ASSERT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs_.saveCalls[0].title, "导出源程序：");
    EXPECT_EQ(dialogs_.saveCalls[0].pattern, "*.pdf");
    EXPECT_EQ(dialogs_.saveCalls[0].filterName, "PDF文件");
    EXPECT_EQ(dialogs_.saveCalls[0].startFolder, dir_.Str()) << "the folder of Init_Dir";
    const std::string pdf = dir_.Str("out.pdf");
    EXPECT_EQ(Read(pdf).substr(0, 5), "%PDF-");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, Summary(4, pdf));
    EXPECT_EQ(messages_.shown[0].shownTotal, "4") << "the results stay";
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), dir_.Str("p.vbp")) << "Export stores nothing";
    EXPECT_EQ(view_.busyChanges.size(), 2u) << "only Start's";
}

TEST_F(Form1ExportTest, CancelAtEitherDialogWritesNothing) {
    OpenAndStart("p.vbp");
    exportDialog_.answer.reset();
    commands_.ExportSource();
    EXPECT_EQ(exportDialog_.shown.size(), 1u);
    EXPECT_TRUE(dialogs_.saveCalls.empty());
    exportDialog_.answer = ExportSourceChoice{"N", "V", true};
    dialogs_.answer.clear();
    commands_.ExportSource();
    EXPECT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_FALSE(Exists(dir_.Str("out.pdf")));
    EXPECT_EQ(store_.LoadSetting("Init_Dir"), dir_.Str("p.vbp"));
}

// The kind and options in force, as Start would use them now; the members and their folder
// of the last Open, whatever the path box holds by then.
TEST_F(Form1ExportTest, TakesTheKindAndOptionsInForceAndTheListOfTheLastOpen) {
    OpenAndStart("p.vbp");
    const std::string pdf = dir_.Str("out.pdf");
    struct Case {
        const char* what;
        std::function<void()> change;
        int lines;
    };
    const Case cases[] = {
        {"as started", [] {}, 4},
        {"blank lines left out", [&] { commands_.ToggleBlankLine(); }, 3},
        {"comments too", [&] { commands_.ToggleRemarkLine(); }, 2},
        {"by VB.NET rules", [&] { commands_.KindItemChosen(SourceKind::VbNet); }, 3},
        {"another path typed", [&] { view_.path = dir_.Str("elsewhere/q.vbp"); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.shown.clear();
        c.change();
        commands_.ExportSource();
        ASSERT_EQ(messages_.Texts(), std::vector<std::string>{Summary(c.lines, pdf)});
    }
    // The header is prefilled from the path the box holds.
    const ProjectTitle typed = ReadProjectTitle(dir_.Str("elsewhere/q.vbp"), SourceKind::VbNet);
    EXPECT_EQ(exportDialog_.shown.back().softwareName, typed.name);
    EXPECT_EQ(exportDialog_.shown.back().softwareVersion, typed.version);
}

TEST_F(Form1ExportTest, EveryPageWhenTheBoxIsTicked) {
    // 3,100 lines: 62 pages, of which a deposit takes 60 unless every page is asked for.
    std::string module = "Attribute VB_Name = \"L\"\r\n";
    for (int i = 0; i < 3100; ++i) {
        module += "x = " + std::to_string(i) + "\r\n";
    }
    dir_.Write("l.bas", module);
    dir_.Write("l.vbp", "Module=L; l.bas\r\n");
    OpenAndStart("l.vbp");
    const std::string pdf = dir_.Str("out.pdf");
    commands_.ExportSource();
    exportDialog_.answer = ExportSourceChoice{"N", "V1.0", true};
    commands_.ExportSource();
    EXPECT_EQ(messages_.Texts(),
              (std::vector<std::string>{
                  "源程序量：3100 行\n源程序共 62 页，已导出第 1-30 页和第 33-62 页，共 60 页\n"
                  "已保存到：" +
                      pdf,
                  "源程序量：3100 行\n源程序共 62 页，已全部导出\n已保存到：" + pdf}));
}

TEST_F(Form1ExportTest, TheNameGetsItsExtensionAndKeepsItsCase) {
    OpenAndStart("p.vbp");
    struct Case {
        const char* answer;
        const char* written;
    };
    const Case cases[] = {{"软著", "软著.pdf"}, {"Out.PDF", "Out.PDF"}, {"a.txt", "a.txt.pdf"}};
    for (const Case& c : cases) {
        dialogs_.answer = dir_.Str(c.answer);
        commands_.ExportSource();
        EXPECT_TRUE(Exists(dir_.Str(c.written))) << c.written;
    }
}

TEST_F(Form1ExportTest, SaysWhyNothingWasWritten) {
    // Only a comment: Start finds it, but not once comments are left out.
    dir_.Write("c.vbp", "Module=C; c.bas\r\n");
    dir_.Write("c.bas", "Attribute VB_Name = \"C\"\r\n' only a comment\r\n");
    OpenAndStart("c.vbp");
    commands_.ToggleRemarkLine();
    commands_.ExportSource();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{
                                     "没有可导出的源程序行（按当前选项统计为0行），未写入文件！"});
    EXPECT_FALSE(Exists(dir_.Str("out.pdf")));

    commands_.ToggleRemarkLine();
    const std::string kept = dir_.Write("kept.pdf", "earlier");
    std::filesystem::permissions(FromUtf8(kept), std::filesystem::perms::owner_read);
    dialogs_.answer = kept;
    messages_.shown.clear();
    commands_.ExportSource();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.starts_with("文件" + kept + "无法写入："))
        << messages_.shown[0].text;
    EXPECT_EQ(Read(kept), "earlier");
}

TEST_F(Form1ExportTest, NamesMembersItCouldNotReadAndDepositsTheRest) {
    dir_.Write("m.vbp", "Module=A; a.bas\r\nModule=G; gone.bas\r\n");
    OpenAndStart("m.vbp");
    commands_.ExportSource();
    const std::string pdf = dir_.Str("out.pdf");
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>{Summary(4, pdf) + "\n\n以下文件无法读取，按0行计算：\n" +
                                       dir_.Str("gone.bas")});
    EXPECT_TRUE(Exists(pdf));
}

}  // namespace
}  // namespace tallix::testing
