// Each button, menu item and access key reaches its command, and Start's busy state shows
// on its button and the cursor.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "engine/projects/project_title.h"
#include "form1_fixture.h"
#include "modal_answerer.h"
#include "pdf_reading.h"
#include "ui/qt/export_source_box.h"

namespace tallix::testing {
namespace {

class Form1ButtonsTest : public Form1Test {
protected:
    void SetUp() override {
        // a.vb: code, blank, comment, code; b.vb: one comment.
        Write("p.vbproj", "<Compile Include=\"a.vb\" />\r\n<Compile Include=\"b.vb\" />\r\n");
        Write("a.vb", "Module A\r\n\r\n' note\r\nEnd Module\r\n");
        Write("b.vb", "' only a comment\r\n");
        Write("p.vbp", "Type=Exe\r\nModule=A; a.bas\r\n");
        Write("a.bas", "Attribute VB_Name = \"A\"\r\nSub X()\r\n\r\n' c\r\nEnd Sub\r\n");
    }

    // Opens through the button or the menu item, the dialog answering with the file.
    void OpenWith(const char* command, const char* file) {
        dialogs_.answer = Native(file).toStdString();
        if (QString::fromLatin1(command).startsWith(u"meu")) {
            Choose(command);
        } else {
            Click(command);
        }
    }

    QString PathBox() { return Find<QLineEdit>("txtFileName")->text(); }
    QString FoundLines() { return Find<QPlainTextEdit>("lblFoundline")->toPlainText(); }
    QString Total() { return Find<QLabel>("LblTotalLine")->text(); }
};

TEST_F(Form1ButtonsTest, OpenButtonAndMenuAskForTheSelectedKind) {
    OpenWith("Command10", "p.vbp");
    ASSERT_EQ(dialogs_.openCalls.size(), 1u);
    EXPECT_EQ(dialogs_.openCalls[0].pattern, "*.vbp");
    EXPECT_EQ(PathBox(), Native("p.vbp"));

    Click("Option2");
    OpenWith("meuOpen", "p.vbproj");
    ASSERT_EQ(dialogs_.openCalls.size(), 2u);
    EXPECT_EQ(dialogs_.openCalls[1].pattern, "*.vbproj");
    EXPECT_EQ(PathBox(), Native("p.vbproj"));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Form1ButtonsTest, StartCountsWithTheMenusOptions) {
    Click("Option2");
    OpenWith("Command10", "p.vbproj");
    Click("Command8");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.vb:4,b.vb:1"));
    EXPECT_EQ(Total(), QStringLiteral("5"));
    Choose("meuBlankLine");
    Choose("meuRemarkLine");
    Choose("meuStart");
    EXPECT_EQ(FoundLines(), QStringLiteral("a.vb:2"));
    EXPECT_EQ(Total(), QStringLiteral("2"));
    EXPECT_TRUE(messages_.shown.empty()) << messages_.Texts().join(u'|').toStdString();
}

TEST_F(Form1ButtonsTest, ClearAndSaveFromButtonAndMenu) {
    OpenWith("Command10", "p.vbp");
    Click("Command9");
    EXPECT_EQ(PathBox(), QString());
    Find<QLineEdit>("txtFileName")->setText(QStringLiteral("typed"));
    Choose("meuClear");
    EXPECT_EQ(PathBox(), QString());

    Click("Command7");
    Choose("meuSave");
    EXPECT_EQ(messages_.Texts(), QStringList({QStringLiteral("请先分析完成后，才能保存!"),
                                              QStringLiteral("请先分析完成后，才能保存!")}));
}

TEST_F(Form1ButtonsTest, MissingProjectFileIsReportedWhileStartIsDisabled) {
    const QString missing = Native("gone.vbp");
    QTest::keyClicks(Find<QLineEdit>("txtFileName"), missing);
    Click("Command8");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              QStringLiteral("文件") + missing + QStringLiteral("不存在！"));
    EXPECT_FALSE(messages_.shown[0].startEnabled);
    EXPECT_TRUE(Find<QPushButton>("Command8")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Form1ButtonsTest, StartKeepsTheFocusOnItsButton) {
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
TEST_F(Form1ButtonsTest, AccessKeysRunTheButtons) {
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

TEST_F(Form1ButtonsTest, HelpMenuItemsReachTheDesktop) {
    Choose("meuHelpFile");
    EXPECT_EQ(messages_.information,
              QStringList(QStringLiteral("提示|帮助文件readme.txt未找到！")));
    Choose("meuVisitMyWeb");
    Choose("meuMailToMe");
    ASSERT_EQ(desktop_.urls.size(), 2u);
    EXPECT_TRUE(desktop_.urls[1].starts_with("mailto:"));
    Choose("meuAbout");
    EXPECT_EQ(messages_.Texts(), QStringList(QStringLiteral("Cantorel Ver 1.00 Build 0062")));
    Choose("meuExit");
    EXPECT_FALSE(Window().isVisible());
}

// meuExportSource runs the export through the window's own dialog: the header typed there
// reaches the deposit's pages.
TEST_F(Form1ButtonsTest, ExportFromTheMenuWritesTheDepositWithTheDialogsHeader) {
    OpenWith("Command10", "p.vbp");
    Click("Command8");
    const QString pdf = Native("软著.pdf");
    dialogs_.answer = Native("软著").toStdString();
    const ProjectTitle title = ReadProjectTitle(Native("p.vbp").toStdString(), SourceKind::Vb6);
    ModalAnswerer person(std::function<void(ExportSourceBox&)>([&](ExportSourceBox& box) {
        auto* name = box.findChild<QLineEdit*>(QStringLiteral("txtSoftwareName"));
        EXPECT_EQ(name->text().toStdString(), title.name) << "prefilled from the path box";
        EXPECT_EQ(box.parentWidget(), &Window());
        name->setText(QStringLiteral("库存管理"));
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    }));
    Choose("meuExportSource");
    EXPECT_TRUE(person.answered());
    ASSERT_EQ(messages_.Texts().size(), 1);
    EXPECT_EQ(messages_.Texts()[0],
              QStringLiteral("源程序量：4 行\n源程序共 1 页，已全部导出\n已保存到：") + pdf);
    EXPECT_EQ(PdfInfoField(pdf.toStdString(), "Title"), "库存管理 " + title.version);
    EXPECT_TRUE(Find<QPushButton>("Command8")->isEnabled());
}

}  // namespace
}  // namespace tallix::testing
