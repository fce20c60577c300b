// Save: when it refuses, what it writes, where "Init_Dir" ends up, and how a report that
// cannot be written is handled.
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

// "文件名称：", "有效行数：", "总计行数：" and the header in code page 936.
const QByteArray kHeader =
    "============\xB1\xBE\xC4\xDA\xC8\xDD\xD3\xC9Tallix\xB8\xA8\xD6\xFA\xC9\xFA\xB3\xC9"
    "============\r\n";
const QByteArray kName = "\xCE\xC4\xBC\xFE\xC3\xFB\xB3\xC6\xA3\xBA";
const QByteArray kFound = "\xD3\xD0\xD0\xA7\xD0\xD0\xCA\xFD\xA3\xBA";
const QByteArray kTotal = "\xD7\xDC\xBC\xC6\xD0\xD0\xCA\xFD\xA3\xBA";
const QByteArray kRule = QByteArray(46, '=') + "\r\n";

class Form1ReportTest : public Form1Test {
protected:
    void SetUp() override {
        // a.bas: 3 lines after its attribute line; empty.bas: none.
        Write("p.vbp", "Module=A; a.bas\r\nModule=E; empty.bas\r\n");
        Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n' c\r\nEnd Sub\r\n");
        Write("empty.bas", "");
        Write("zero.vbp", "Module=E; empty.bas\r\n");
    }

    void OpenAndCount(const char* project) {
        dialogs_.answer = Native(project);
        Click("Command10");
        Click("Command8");
    }

    // Saves through the button, the dialog answering with `answer`.
    void SaveAs(const QString& answer) {
        dialogs_.answer = answer;
        Click("Command7");
    }

    QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QByteArray Report(const QString& project, const char* found, const char* total) {
        return kHeader + kName + project.toUtf8() + "\r\n" + kFound + found + "\r\n" + kTotal +
               total + "\r\n" + kRule;
    }
};

TEST_F(Form1ReportTest, RefusedWithoutResults) {
    dialogs_.answer = Native("p.vbp");
    Click("Command10");  // Open empties the results
    Choose("meuSave");
    OpenAndCount("zero.vbp");  // a run whose members all count 0
    Click("Command7");
    EXPECT_EQ(messages_.Texts(), QStringList({QStringLiteral("请先分析完成后，才能保存!"),
                                              QStringLiteral("请先分析完成后，才能保存!")}));
    EXPECT_TRUE(dialogs_.saveCalls.empty());
    EXPECT_EQ(Stored("Init_Dir"), Native("zero.vbp"));  // only Open wrote it
}

TEST_F(Form1ReportTest, WritesTheFiveLinesAndRemembersTheReport) {
    OpenAndCount("p.vbp");
    const QString report = Native("R.LOG");
    SaveAs(report);
    ASSERT_EQ(dialogs_.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs_.saveCalls[0].owner, &Window());
    EXPECT_EQ(dialogs_.saveCalls[0].title, QStringLiteral("保存分析结果："));
    EXPECT_EQ(dialogs_.saveCalls[0].pattern, QStringLiteral("*.LOG"));
    EXPECT_EQ(dialogs_.saveCalls[0].filterName, QStringLiteral("Log文件"));
    EXPECT_EQ(Read(report), Report(Native("p.vbp"), "a.bas:3", "3"));
    EXPECT_EQ(Stored("Init_Dir"), report);
    EXPECT_TRUE(messages_.Texts().isEmpty());
}

TEST_F(Form1ReportTest, OverwritesAnExistingReportAndTakesThePathAsItIsNow) {
    OpenAndCount("p.vbp");
    Write("OLD.LOG", QByteArray(5000, 'x'));
    Click("Command9");  // Clear: line 2 becomes the bare label
    SaveAs(Native("OLD.LOG"));
    EXPECT_EQ(Read(Native("OLD.LOG")), Report(QString(), "a.bas:3", "3"));
}

TEST_F(Form1ReportTest, CancelStoresAnEmptyFolder) {
    OpenAndCount("p.vbp");
    SaveAs(QString());
    EXPECT_EQ(Stored("Init_Dir"), QString());
    EXPECT_TRUE(messages_.Texts().isEmpty());
}

TEST_F(Form1ReportTest, UnwritableReportIsSaidAndTheOldOneStays) {
    OpenAndCount("p.vbp");
    Write("KEPT.LOG", "old report\r\n");
    const QString kept = Native("KEPT.LOG");
    QFile::setPermissions(kept, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    SaveAs(kept);
    ASSERT_EQ(messages_.Texts().size(), 1);
    EXPECT_TRUE(messages_.Texts()[0].startsWith(QStringLiteral("文件") + kept +
                                                QStringLiteral("无法写入：")))
        << messages_.Texts()[0].toStdString();
    EXPECT_EQ(Read(kept), "old report\r\n");
    EXPECT_TRUE(Window().isVisible());

    const QString nowhere = Native("no-such-folder/R.LOG");
    SaveAs(nowhere);
    ASSERT_EQ(messages_.Texts().size(), 2);
    EXPECT_TRUE(messages_.Texts()[1].startsWith(QStringLiteral("文件") + nowhere));
    EXPECT_EQ(Stored("Init_Dir"), nowhere);  // the dialog was reached
}

}  // namespace
}  // namespace tallix::testing
