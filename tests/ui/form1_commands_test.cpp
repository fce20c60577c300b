// Open, Clear and Start through buttons, menu items and access keys, with a fake dialog.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

class Form1CommandsTest : public Form1Test {
protected:
    void SetUp() override {
        // a.vb: code, blank, comment, code; b.vb: one comment.
        Write("p.vbproj",
              "<Project>\r\n  <ItemGroup>\r\n    <Compile Include=\"a.vb\" />\r\n"
              "    <Compile Include=\"b.vb\" />\r\n  </ItemGroup>\r\n</Project>\r\n");
        Write("a.vb", "Module A\r\n\r\n' note\r\nEnd Module\r\n");
        Write("b.vb", "' only a comment\r\n");
        // a.bas after its attribute line: code, blank, comment, code.
        Write("p.vbp", "Type=Exe\r\nModule=A; a.bas\r\n");
        Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\n' c\r\nEnd Sub\r\n");
    }

    // Opens through the button or the menu item, the dialog answering with the file.
    void OpenWith(const char* command, const char* file) {
        dialogs_.answer = Native(file);
        if (QString::fromLatin1(command).startsWith(u"meu"))
            Choose(command);
        else
            Click(command);
    }

    QString PathBox() { return Find<QLineEdit>("txtFileName")->text(); }
    QString FoundLines() { return Find<QPlainTextEdit>("lblFoundline")->toPlainText(); }
    QString Total() { return Find<QLabel>("LblTotalLine")->text(); }
};

TEST_F(Form1CommandsTest, OpenButtonAndMenuAskForTheSelectedKind) {
    OpenWith("Command10", "p.vbp");
    ASSERT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(dialogs_.openCalls[0].owner, &Window());
    EXPECT_EQ(dialogs_.openCalls[0].title, QStringLiteral("打开VB6工程文件(*.vbp)"));
    EXPECT_EQ(dialogs_.openCalls[0].pattern, QStringLiteral("*.vbp"));
    EXPECT_EQ(dialogs_.openCalls[0].filterName, QStringLiteral("VB6工程文件"));
    EXPECT_EQ(PathBox(), Native("p.vbp"));
    EXPECT_EQ(Stored("Init_Dir"), Native("p.vbp"));

    Choose("meuVBdotNetProj");
    OpenWith("meuOpen", "p.vbproj");
    ASSERT_EQ(dialogs_.openCalls.size(), 2u);
    EXPECT_EQ(dialogs_.openCalls[1].title, QStringLiteral("打开VB7/8/9工程文件"));
    EXPECT_EQ(dialogs_.openCalls[1].pattern, QStringLiteral("*.vbproj"));
    EXPECT_EQ(dialogs_.openCalls[1].filterName, QStringLiteral("VB7/8/9工程文件"));
    EXPECT_EQ(PathBox(), Native("p.vbproj"));
    EXPECT_EQ(Stored("Init_Dir"), Native("p.vbproj"));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Form1CommandsTest, StartCountsWithTheOptionsInForce) {
    Click("Option2");
    OpenWith("Command10", "p.vbproj");
    Click("Command8");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.vb:4,b.vb:1"));
    EXPECT_EQ(Total(), QStringLiteral("5"));
    Choose("meuBlankLine");
    Choose("meuStart");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.vb:3,b.vb:1"));
    EXPECT_EQ(Total(), QStringLiteral("4"));
    Choose("meuRemarkLine");
    Click("Command8");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.vb:2"));
    EXPECT_EQ(Total(), QStringLiteral("2"));
    EXPECT_TRUE(messages_.shown.empty()) << messages_.Texts().join(u'|').toStdString();
}

TEST_F(Form1CommandsTest, StartUsesTheKindSelectedNow) {
    OpenWith("meuOpen", "p.vbp");
    Click("Command8");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.bas:4"));
    // The same member list counted with the VB.NET rules: the attribute line counts too.
    Choose("meuVBdotNetProj");
    Click("Command8");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.bas:5"));
    EXPECT_EQ(Total(), QStringLiteral("5"));
}

TEST_F(Form1CommandsTest, OpenClearsResultsAndCancelChangesNothing) {
    OpenWith("Command10", "p.vbp");
    Click("Command8");
    ASSERT_EQ(Total(), QStringLiteral("4"));

    dialogs_.answer.clear();
    Store("Init_Dir", QStringLiteral("kept"));
    Click("Command10");
    EXPECT_EQ(PathBox(), Native("p.vbp"));
    EXPECT_EQ(Total(), QStringLiteral("4"));
    EXPECT_EQ(Stored("Init_Dir"), QStringLiteral("kept"));

    OpenWith("meuOpen", "p.vbp");
    EXPECT_EQ(FoundLines(), QString());
    EXPECT_EQ(Total(), QString());
}

TEST_F(Form1CommandsTest, ClearEmptiesOnlyThePath) {
    OpenWith("Command10", "p.vbp");
    Click("Command8");
    Click("Command9");
    EXPECT_EQ(PathBox(), QString());
    EXPECT_EQ(FoundLines(), QStringLiteral("a.bas:4"));
    EXPECT_EQ(Total(), QStringLiteral("4"));

    Find<QLineEdit>("txtFileName")->setText(QStringLiteral("typed"));
    Choose("meuClear");
    EXPECT_EQ(PathBox(), QString());
}

TEST_F(Form1CommandsTest, StartWithoutAPathAsksForAFile) {
    Click("Command8");
    Choose("meuStart");
    EXPECT_EQ(messages_.Texts(),
              QStringList({QStringLiteral("请先打开文件!"), QStringLiteral("请先打开文件!")}));
    EXPECT_EQ(messages_.shown[0].owner, &Window());
}

TEST_F(Form1CommandsTest, StartCountsATypedPathWithTheLastOpenedList) {
    OpenWith("Command10", "p.vbp");
    Click("Command9");
    QTest::keyClicks(Find<QLineEdit>("txtFileName"), Native("p.vbp"));
    Click("Command8");
    EXPECT_EQ(Total(), QStringLiteral("4"));
}

// A box shows over what the command has done up to it: the user reads the message beside the
// results it speaks of.
TEST_F(Form1CommandsTest, AMessageShowsOverWhatTheCommandHasDoneSoFar) {
    Write("m.vbp", "Module=A; a.bas\r\nModule=G; gone.bas\r\n");
    QByteArray many;
    for (int i = 0; i < 82; ++i)
        many += "Module=A; a.bas\r\n";
    Write("many.vbp", many);
    const QString member = Native("gone.bas");
    struct Case {
        const char* name;
        std::function<void()> run;
        QString text;
        bool startEnabled;
        QString path;
        QString found;
        QString total;
    };
    const Case cases[] = {
        {"Start with a member missing: over the new results",
         [&] { OpenWith("Command10", "m.vbp"), Click("Command8"); },
         QStringLiteral("以下文件无法读取，按0行计算：\n") + member, true, Native("m.vbp"),
         QStringLiteral("a.bas:4"), QStringLiteral("4")},
        {"Start with the project gone: over emptied results, Start still disabled",
         [&] {
             OpenWith("Command10", "p.vbp"), Click("Command8");
             Find<QLineEdit>("txtFileName")->setText(Native("gone.vbp"));
             Click("Command8");
         },
         QStringLiteral("文件") + Native("gone.vbp") + QStringLiteral("不存在！"), false,
         Native("gone.vbp"), QString(), QString()},
        {"Open of too many members: over the chosen path and the last results",
         [&] {
             OpenWith("Command10", "p.vbp"), Click("Command8"), OpenWith("meuOpen", "many.vbp");
         },
         QStringLiteral("工程文件的成员超过81个，只统计前81个！"), true, Native("many.vbp"),
         QStringLiteral("a.bas:4"), QStringLiteral("4")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages_.shown.clear();
        c.run();
        ASSERT_EQ(messages_.shown.size(), 1u) << messages_.Texts().join(u'|').toStdString();
        const RecordingMessages::Message& box = messages_.shown[0];
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.startEnabled, c.startEnabled);
        EXPECT_EQ(box.path, c.path);
        EXPECT_EQ(box.found, c.found);
        EXPECT_EQ(box.total, c.total);
        EXPECT_TRUE(Find<QPushButton>("Command8")->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(Form1CommandsTest, StartKeepsTheFocusOnItsButton) {
    OpenWith("Command10", "p.vbp");
    QPushButton* start = Find<QPushButton>("Command8");
    QApplication::setActiveWindow(&Window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Space);
    EXPECT_EQ(Total(), QStringLiteral("4"));
    EXPECT_TRUE(start->hasFocus());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// An access key clicks its button as a mouse would: pressed, and released a moment later.
TEST_F(Form1CommandsTest, AccessKeysRunTheButtons) {
    QApplication::setActiveWindow(&Window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keyClick(&Window(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !messages_.shown.empty(); }, 2000));
    EXPECT_EQ(messages_.Texts(), QStringList(QStringLiteral("请先打开文件!")));

    Find<QLineEdit>("txtFileName")->setText(QStringLiteral("typed"));
    QTest::keyClick(&Window(), Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return PathBox().isEmpty(); }, 2000));
    // Alt+O belongs to the Open button and to the "设置(&O)" menu alike; Qt takes turns.
}

TEST_F(Form1CommandsTest, AboutShowsTheCaptionAndExitCloses) {
    Choose("meuAbout");
    EXPECT_EQ(messages_.Texts(), QStringList(QStringLiteral("Cantorel Ver 1.00 Build 0062")));
    Choose("meuExit");
    EXPECT_FALSE(Window().isVisible());
}

}  // namespace
}  // namespace tallix::testing
