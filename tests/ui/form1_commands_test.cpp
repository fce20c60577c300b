// The window's commands, once for every toolkit: over a fake view and fake services, with
// settings in memory and projects and reports in a fresh folder.
#include "ui/form1_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "fake_window.h"
#include "persistence/memory_settings_store.h"
#include "persistence/user_settings.h"
#include "temp_dir.h"
#include "ui/dialog_paths.h"

namespace tallix::testing {
namespace {

class Form1CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.path() / "program");
        // a.vb: code, blank, comment, code; b.vb: one comment.
        dir_.Write("p.vbproj",
                   "<Project>\r\n  <ItemGroup>\r\n    <Compile Include=\"a.vb\" />\r\n"
                   "    <Compile Include=\"b.vb\" />\r\n  </ItemGroup>\r\n</Project>\r\n");
        dir_.Write("a.vb", "Module A\r\n\r\n' note\r\nEnd Module\r\n");
        dir_.Write("b.vb", "' only a comment\r\n");
        // a.bas after its attribute line: code, blank, comment, code.
        dir_.Write("p.vbp", "Type=Exe\r\nModule=A; a.bas\r\n");
        dir_.Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\n' c\r\nEnd Sub\r\n");
        dir_.Write("zero.vbp", "Module=E; empty.bas\r\n");
        dir_.Write("empty.bas", "");
    }

    std::string Stored(const char* key) const {
        return store_.LoadSetting(key).value_or("<absent>");
    }

    void Open(const char* file) {
        dialogs_.answer = dir_.Str(file);
        commands_.OpenProject();
    }

    // A report's path as Save stores it: on Windows upper-cased whole.
    static std::string Saved(const std::string& path) { return kWindows ? UpperCase(path) : path; }

    std::string Read(const std::string& path) const {
        std::ifstream in(FromUtf8(path), std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<unreadable>";
    }

    TempDir dir_;
    MemorySettingsStore store_;
    UserSettings settings_{store_, dir_.Str("program")};
    FakeView view_;
    FakeDialogs dialogs_;
    RecordingMessages messages_{view_};
    RecordingDesktop desktop_;
    FakeExportDialog exportDialog_;
    Form1Commands commands_{view_, settings_, dialogs_, messages_, desktop_, exportDialog_};
};

struct StoredSettingsCase {
    const char* sourceProj;  // nullptr: absent
    const char* blankLine;
    const char* remarkLine;
    SourceKind kind;
    const char* sourceProjAfter;
    bool skipBlank;
    bool skipRemark;
};

void PrintTo(const StoredSettingsCase& c, std::ostream* out) {
    const auto text = [](const char* value) { return value ? value : "<absent>"; };
    *out << "SourceProj=" << text(c.sourceProj) << " BlankLine=" << text(c.blankLine)
         << " RemarkLine=" << text(c.remarkLine);
}

class Form1StartUpTest : public Form1CommandsTest,
                         public ::testing::WithParamInterface<StoredSettingsCase> {};

// Only a stored VbNet is written back, as "1"; the options are read, never written.
TEST_P(Form1StartUpTest, AppliesTheStoredKindAndOptions) {
    const StoredSettingsCase& c = GetParam();
    if (c.sourceProj) {
        store_.StoreSetting("SourceProj", c.sourceProj);
    }
    if (c.blankLine) {
        store_.StoreSetting("BlankLine", c.blankLine);
    }
    if (c.remarkLine) {
        store_.StoreSetting("RemarkLine", c.remarkLine);
    }
    commands_.ApplyStoredSettings();
    EXPECT_EQ(view_.kind, c.kind);
    EXPECT_EQ(view_.marked, c.kind);
    EXPECT_EQ(view_.skipBlank, c.skipBlank);
    EXPECT_EQ(view_.skipRemark, c.skipRemark);
    EXPECT_EQ(Stored("SourceProj"), c.sourceProjAfter);
    EXPECT_EQ(Stored("BlankLine"), c.blankLine ? c.blankLine : "<absent>");
    EXPECT_EQ(Stored("RemarkLine"), c.remarkLine ? c.remarkLine : "<absent>");
    EXPECT_EQ(Stored("Init_Dir"), "<absent>");
    EXPECT_TRUE(view_.path.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FirstStartAndOddValues, Form1StartUpTest,
    ::testing::Values(
        StoredSettingsCase{nullptr, nullptr, nullptr, SourceKind::Vb6, "<absent>", false, false},
        StoredSettingsCase{"1", "True", "False", SourceKind::VbNet, "1", true, false},
        StoredSettingsCase{"2", "false", "TRUE", SourceKind::VbNet, "1", false, true},
        StoredSettingsCase{"-0.5", "-1", "0", SourceKind::VbNet, "1", true, false},
        StoredSettingsCase{"1abc", "junk", "", SourceKind::VbNet, "1", false, false},
        StoredSettingsCase{"0", nullptr, nullptr, SourceKind::Vb6, "0", false, false},
        StoredSettingsCase{"0.0", nullptr, nullptr, SourceKind::Vb6, "0.0", false, false},
        StoredSettingsCase{"abc", nullptr, nullptr, SourceKind::Vb6, "abc", false, false},
        StoredSettingsCase{"", nullptr, nullptr, SourceKind::Vb6, "", false, false}));

TEST_F(Form1CommandsTest, ChoosingAKindTwiceChangesItOnce) {
    commands_.KindItemChosen(SourceKind::VbNet);
    EXPECT_EQ(view_.kind, SourceKind::VbNet);
    EXPECT_EQ(view_.marked, SourceKind::VbNet);
    EXPECT_EQ(Stored("SourceProj"), "1");
    store_.StoreSetting("SourceProj", "untouched");
    commands_.KindItemChosen(SourceKind::VbNet);
    commands_.OptionClicked(SourceKind::VbNet);
    EXPECT_EQ(view_.kind, SourceKind::VbNet);
    EXPECT_EQ(view_.marked, SourceKind::VbNet);
    EXPECT_EQ(Stored("SourceProj"), "untouched");

    view_.kind = SourceKind::Vb6;  // the view selects a clicked button itself
    commands_.OptionClicked(SourceKind::Vb6);
    EXPECT_EQ(view_.marked, SourceKind::Vb6);
    EXPECT_EQ(Stored("SourceProj"), "0");
    commands_.KindItemChosen(SourceKind::Vb6);
    EXPECT_EQ(Stored("SourceProj"), "0");
}

TEST_F(Form1CommandsTest, SelectingTheDesignedKindAtFirstStoresNothing) {
    commands_.ApplyStoredSettings();
    commands_.OptionClicked(SourceKind::Vb6);
    commands_.KindItemChosen(SourceKind::Vb6);
    EXPECT_EQ(view_.marked, SourceKind::Vb6);
    EXPECT_EQ(Stored("SourceProj"), "<absent>");
}

TEST_F(Form1CommandsTest, SelectingNoKindChangesNothing) {
    commands_.KindItemChosen(SourceKind::VbNet);
    store_.StoreSetting("SourceProj", "untouched");
    view_.kind = SourceKind::None;
    commands_.OptionClicked(SourceKind::None);
    EXPECT_EQ(view_.marked, SourceKind::VbNet);
    EXPECT_EQ(Stored("SourceProj"), "untouched");
}

TEST_F(Form1CommandsTest, MemoryThatRunsOutEndsTheCommandWithAMessage) {
    class FailingDialogs : public FakeDialogs {
    public:
        std::string ShowSaveDialog(const FileDialogRequest&) override { throw std::bad_alloc(); }
        std::string ShowOpenDialog(const FileDialogRequest&) override { throw std::bad_alloc(); }
    } failing;
    Form1Commands commands{view_, settings_, failing, messages_, desktop_, exportDialog_};
    commands.OpenProject();
    commands.DropFiles({dir_.Str("p.vbp")});
    commands.StartAnalysis();
    ASSERT_EQ(view_.total, "4");
    commands.SaveResults();
    EXPECT_EQ(messages_.Texts(),
              (std::vector<std::string>{"内存不足，命令未完成！", "内存不足，命令未完成！"}));
    EXPECT_FALSE(view_.Busy());
}

TEST_F(Form1CommandsTest, TogglingEachOptionTwice) {
    commands_.ToggleBlankLine();
    EXPECT_TRUE(view_.skipBlank);
    EXPECT_EQ(Stored("BlankLine"), "True");
    EXPECT_EQ(Stored("RemarkLine"), "<absent>");
    commands_.ToggleBlankLine();
    EXPECT_FALSE(view_.skipBlank);
    EXPECT_EQ(Stored("BlankLine"), "False");

    commands_.ToggleRemarkLine();
    EXPECT_TRUE(view_.skipRemark);
    EXPECT_EQ(Stored("RemarkLine"), "True");
    commands_.ToggleRemarkLine();
    EXPECT_FALSE(view_.skipRemark);
    EXPECT_EQ(Stored("RemarkLine"), "False");
    EXPECT_FALSE(view_.skipBlank);
    EXPECT_EQ(Stored("SourceProj"), "<absent>");
}

TEST_F(Form1CommandsTest, OpenAsksForTheSelectedKindWhereTheLastFileWas) {
    Open("p.vbp");
    ASSERT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(dialogs_.openCalls[0].title, "打开VB6工程文件(*.vbp)");
    EXPECT_EQ(dialogs_.openCalls[0].pattern, "*.vbp");
    EXPECT_EQ(dialogs_.openCalls[0].filterName, "VB6工程文件");
    EXPECT_EQ(dialogs_.openCalls[0].startFolder, dir_.Str("program"));
    EXPECT_EQ(view_.path, dir_.Str("p.vbp"));
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("p.vbp"));

    commands_.KindItemChosen(SourceKind::VbNet);
    Open("p.vbproj");
    ASSERT_EQ(dialogs_.openCalls.size(), 2u);
    EXPECT_EQ(dialogs_.openCalls[1].title, "打开VB7/8/9工程文件");
    EXPECT_EQ(dialogs_.openCalls[1].pattern, "*.vbproj");
    EXPECT_EQ(dialogs_.openCalls[1].filterName, "VB7/8/9工程文件");
    EXPECT_EQ(dialogs_.openCalls[1].startFolder, dir_.Str());
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("p.vbproj"));

    view_.kind = SourceKind::None;
    Open("p.vbp");
    EXPECT_EQ(dialogs_.openCalls.size(), 2u);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"请选择分析来源的类型！"});
}

TEST_F(Form1CommandsTest, OpenClearsResultsAndCancelChangesNothing) {
    Open("p.vbp");
    commands_.StartAnalysis();
    ASSERT_EQ(view_.total, "4");
    dialogs_.answer.clear();
    store_.StoreSetting("Init_Dir", "kept");
    commands_.OpenProject();
    EXPECT_EQ(view_.path, dir_.Str("p.vbp"));
    EXPECT_EQ(view_.total, "4");
    EXPECT_EQ(Stored("Init_Dir"), "kept");
    Open("p.vbp");
    EXPECT_EQ(view_.found, "");
    EXPECT_EQ(view_.total, "");
}

TEST_F(Form1CommandsTest, StartCountsWithTheKindAndOptionsInForce) {
    commands_.OptionClicked(view_.kind = SourceKind::VbNet);
    Open("p.vbproj");
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.vb:4,b.vb:1");
    EXPECT_EQ(view_.total, "5");
    commands_.ToggleBlankLine();
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.vb:3,b.vb:1");
    commands_.ToggleRemarkLine();
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.vb:2");
    EXPECT_EQ(view_.total, "2");

    // The kind in force when Start runs picks the counter: VB.NET's counts the attribute line.
    commands_.KindItemChosen(SourceKind::Vb6);
    Open("p.vbp");
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.bas:2");
    commands_.KindItemChosen(SourceKind::VbNet);
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.bas:3");
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(view_.busyChanges.size(), 10u);
    EXPECT_FALSE(view_.Busy());
}

TEST_F(Form1CommandsTest, ClearEmptiesOnlyThePathAndStartThenAsksForAFile) {
    Open("p.vbp");
    commands_.StartAnalysis();
    commands_.ClearFile();
    EXPECT_EQ(view_.path, "");
    EXPECT_EQ(view_.found, "a.bas:4");
    commands_.StartAnalysis();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"请先打开文件!"});
    EXPECT_EQ(view_.total, "");
    EXPECT_EQ(view_.busyChanges.size(), 2u) << "the run before the clear only";

    view_.path = dir_.Str("p.vbp");  // typed again: the last opened list counts
    commands_.StartAnalysis();
    EXPECT_EQ(view_.total, "4");
}

// A box shows over what the command has done up to it: the user reads the message beside the
// results it speaks of.
TEST_F(Form1CommandsTest, AMessageShowsOverWhatTheCommandHasDoneSoFar) {
    dir_.Write("m.vbp", "Module=A; a.bas\r\nModule=G; gone.bas\r\n");
    std::string many;
    for (int i = 0; i < 82; ++i) {
        many += "Module=A; a.bas\r\n";
    }
    dir_.Write("many.vbp", many);
    struct Case {
        const char* name;
        std::function<void()> run;
        std::string text;
        bool busy;
        std::string path;
        std::string found;
        std::string total;
    };
    const Case cases[] = {
        {"Start with a member missing: over the new results",
         [&] { Open("m.vbp"), commands_.StartAnalysis(); },
         "以下文件无法读取，按0行计算：\n" + dir_.Str("gone.bas"), false, dir_.Str("m.vbp"),
         "a.bas:4", "4"},
        {"Start with the project gone: over emptied results, Start still busy",
         [&] {
             Open("p.vbp"), commands_.StartAnalysis();
             view_.path = dir_.Str("gone.vbp");
             commands_.StartAnalysis();
         },
         "文件" + dir_.Str("gone.vbp") + "不存在！", true, dir_.Str("gone.vbp"), "", ""},
        {"Open of too many members: over the chosen path and the last results",
         [&] { Open("p.vbp"), commands_.StartAnalysis(), Open("many.vbp"); },
         "工程文件的成员超过81个，只统计前81个！", false, dir_.Str("many.vbp"), "a.bas:4", "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages_.shown.clear();
        view_.busyChanges.clear();
        c.run();
        ASSERT_EQ(messages_.shown.size(), 1u);
        const RecordingMessages::Message& box = messages_.shown[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.busy, c.busy);
        EXPECT_EQ(box.shownPath, c.path);
        EXPECT_EQ(box.shownFound, c.found);
        EXPECT_EQ(box.shownTotal, c.total);
        EXPECT_FALSE(view_.Busy());
    }
}

// "文件名称：", "有效行数：", "总计行数：" and the header in code page 936.
const std::string kHeader =
    "============\xB1\xBE\xC4\xDA\xC8\xDD\xD3\xC9Tallix\xB8\xA8\xD6\xFA\xC9\xFA\xB3\xC9"
    "============\r\n";
const std::string kName = "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA";
const std::string kFound = "\xD3\xD0\xD0\xA7\xD0\xD0\xCA\xFD\xA3\xBA";
const std::string kTotal = "\xD7\xDC\xBC\xC6\xD0\xD0\xCA\xFD\xA3\xBA";
const std::string kRule = std::string(46, '=') + "\r\n";

std::string Report(const std::string& project, const char* found, const char* total) {
    return kHeader + kName + project + "\r\n" + kFound + found + "\r\n" + kTotal + total + "\r\n" +
           kRule;
}

TEST_F(Form1CommandsTest, SaveRefusesWithoutResults) {
    Open("p.vbp");  // Open empties the results
    commands_.SaveResults();
    Open("zero.vbp");  // a run whose members all count 0
    commands_.StartAnalysis();
    ASSERT_EQ(view_.total, "0");
    commands_.SaveResults();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, "请先分析完成后，才能保存!"));
    EXPECT_TRUE(dialogs_.saveCalls.empty());
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("zero.vbp"));
}

TEST_F(Form1CommandsTest, SaveWritesTheFiveLinesUnderTheNormalisedName) {
    Open("p.vbp");
    commands_.StartAnalysis();
    dialogs_.answer = dir_.Str("report");
    commands_.SaveResults();
    ASSERT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs_.saveCalls[0].title, "保存分析结果：");
    EXPECT_EQ(dialogs_.saveCalls[0].pattern, "*.LOG");
    EXPECT_EQ(dialogs_.saveCalls[0].filterName, "Log文件");
    EXPECT_EQ(dialogs_.saveCalls[0].startFolder, dir_.Str());
    EXPECT_EQ(Read(dir_.Str("REPORT.LOG")), Report(dir_.Str("p.vbp"), "a.bas:4", "4"));
    EXPECT_EQ(Stored("Init_Dir"), Saved(dir_.Str("REPORT.LOG")));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "report"));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Form1CommandsTest, SaveOverwritesAndTakesThePathAsItIsNow) {
    Open("p.vbp");
    commands_.StartAnalysis();
    dir_.Write("OLD.LOG", std::string(5000, 'x'));
    commands_.ClearFile();  // line 2 becomes the bare label
    dialogs_.answer = dir_.Str("old.log");
    commands_.SaveResults();
    EXPECT_EQ(Read(dir_.Str("OLD.LOG")), Report("", "a.bas:4", "4"));
}

TEST_F(Form1CommandsTest, CancelledSaveStoresAnEmptyPath) {
    Open("p.vbp");
    commands_.StartAnalysis();
    dialogs_.answer.clear();
    commands_.SaveResults();
    EXPECT_EQ(Stored("Init_Dir"), "");
    EXPECT_TRUE(messages_.shown.empty());
    // The next dialog is left to start where it likes.
    Open("p.vbp");
    EXPECT_EQ(dialogs_.openCalls.back().startFolder, "");
}

TEST_F(Form1CommandsTest, AReportThatCannotBeWrittenIsSaidAndTheOldOneStays) {
    Open("p.vbp");
    commands_.StartAnalysis();
    const std::string kept = dir_.Write("KEPT.LOG", "old report\r\n");
    std::filesystem::permissions(FromUtf8(kept),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    dialogs_.answer = kept;
    commands_.SaveResults();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.starts_with("文件" + Saved(kept) + "无法写入："))
        << messages_.shown[0].text;
    EXPECT_EQ(messages_.shown[0].shownTotal, "4");
    EXPECT_EQ(Read(kept), "old report\r\n");

    const std::string nowhere = dir_.Str("no-such-folder") + kSeparator + "R.LOG";
    dialogs_.answer = nowhere;
    commands_.SaveResults();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_TRUE(messages_.shown[1].text.starts_with("文件" + Saved(nowhere) + "无法写入："));
    EXPECT_EQ(Stored("Init_Dir"), Saved(nowhere));  // the dialog was reached
}

TEST_F(Form1CommandsTest, ADropOfThreeFilesOpensTheLastWithoutADialog) {
    commands_.DropFiles({dir_.Str("a.bas"), dir_.Str("p.vbproj"), dir_.Str("p.vbp")});
    EXPECT_EQ(view_.path, dir_.Str("p.vbp"));
    EXPECT_TRUE(dialogs_.openCalls.empty());
    EXPECT_EQ(Stored("Init_Dir"), dir_.Str("p.vbp"));
    commands_.StartAnalysis();
    EXPECT_EQ(view_.found, "a.bas:4");

    // The flag was spent: the next Open asks.
    dialogs_.answer.clear();
    commands_.OpenProject();
    EXPECT_EQ(dialogs_.openCalls.size(), 1u);
}

TEST_F(Form1CommandsTest, ADropWithoutFilesOpensTheDialog) {
    view_.path = "typed";
    commands_.DropFiles({});
    ASSERT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(dialogs_.openCalls[0].title, "打开VB6工程文件(*.vbp)");
    EXPECT_EQ(view_.path, "typed");  // the dialog was cancelled
    EXPECT_EQ(Stored("Init_Dir"), "<absent>");
}

TEST_F(Form1CommandsTest, HelpShowsTheFileBesideTheProgram) {
    const std::string help = dir_.Write("program/readme.txt", "help\r\n");
    commands_.ShowHelpFile();
    EXPECT_EQ(desktop_.textFiles, std::vector<std::string>{help});
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Form1CommandsTest, AMissingHelpFileIsSaidInAnInformationBox) {
    commands_.ShowHelpFile();
    std::filesystem::create_directories(dir_.path() / "program" / "readme.txt");
    commands_.ShowHelpFile();  // a folder is no help file
    EXPECT_TRUE(desktop_.textFiles.empty());
    ASSERT_EQ(messages_.shown.size(), 2u);
    for (const auto& message : messages_.shown) {
        EXPECT_EQ(message.title, "提示");
        EXPECT_EQ(message.text, "帮助文件readme.txt未找到！");
    }
}

TEST_F(Form1CommandsTest, HomePageAndMailGoToTheDesktop) {
    commands_.VisitMyWeb();
    commands_.MailToMe();
    ASSERT_EQ(desktop_.urls.size(), 2u);
    EXPECT_TRUE(desktop_.urls[0].starts_with("http://"));
    EXPECT_TRUE(desktop_.urls[0].ends_with("/soft"));
    EXPECT_TRUE(desktop_.urls[1].starts_with("mailto:"));
    EXPECT_TRUE(messages_.shown.empty());
}

// Without xdg-open (or Notepad) nothing opens; the user is told what could not be opened.
TEST_F(Form1CommandsTest, WhatNothingCanOpenIsSaid) {
    const std::string help = dir_.Write("program/readme.txt", "help\r\n");
    desktop_.opens = false;
    commands_.ShowHelpFile();
    commands_.VisitMyWeb();
    commands_.MailToMe();
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>(
                  {"无法打开帮助文件" + help + "：找不到能打开它的程序！",
                   "无法打开个人主页http://www.example.com/soft：找不到能打开它的程序！",
                   "无法新建发给tallix@example.com的邮件：找不到邮件程序！"}));
    for (const auto& message : messages_.shown) {
        EXPECT_EQ(message.title, "");
    }
}

TEST_F(Form1CommandsTest, AboutShowsTheCaptionAndExitCloses) {
    EXPECT_EQ(commands_.Caption(), "Cantorel Ver 1.00 Build 0062");
    commands_.ShowAbout();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Cantorel Ver 1.00 Build 0062"});
    EXPECT_FALSE(view_.closed);
    commands_.ExitProgram();
    EXPECT_TRUE(view_.closed);
}

}  // namespace
}  // namespace tallix::testing
