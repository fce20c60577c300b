// The help menu: the help file beside the program, the home page and the mail address.
#include <QDir>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

class Form1HelpTest : public Form1Test {
protected:
    QString HelpFile() const {
        return QDir::toNativeSeparators(FilePath(QStringLiteral("program/readme.txt")));
    }
};

TEST_F(Form1HelpTest, ShowsTheHelpFileBesideTheProgram) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("program")));
    Write("program/readme.txt", "help\r\n");
    Choose("meuHelpFile");
    EXPECT_EQ(desktop_.textFiles, QStringList{HelpFile()});
    EXPECT_TRUE(messages_.information.empty());
}

TEST_F(Form1HelpTest, MissingHelpFileIsSaidInAnInformationBox) {
    Choose("meuHelpFile");
    EXPECT_TRUE(desktop_.textFiles.isEmpty());
    ASSERT_EQ(messages_.information.size(), 1u);
    EXPECT_EQ(messages_.information[0].text, QStringLiteral("提示|帮助文件readme.txt未找到！"));
    EXPECT_EQ(messages_.information[0].owner, &Window());
}

TEST_F(Form1HelpTest, AHelpFolderIsNoHelpFile) {
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("program/readme.txt")));
    Choose("meuHelpFile");
    EXPECT_TRUE(desktop_.textFiles.isEmpty());
    EXPECT_EQ(messages_.information.size(), 1u);
}

TEST_F(Form1HelpTest, HomePageAndMailGoToTheDesktop) {
    Choose("meuVisitMyWeb");
    Choose("meuMailToMe");
    ASSERT_EQ(desktop_.urls.size(), 2);
    EXPECT_EQ(desktop_.urls[0].scheme(), QStringLiteral("http"));
    EXPECT_EQ(desktop_.urls[0].path(), QStringLiteral("/soft"));
    EXPECT_EQ(desktop_.urls[1].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(messages_.Texts().isEmpty());
}

}  // namespace
}  // namespace tallix::testing
