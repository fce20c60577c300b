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

// Without xdg-open (or Notepad) nothing opens; the user is told what could not be opened, in
// the window's usual box.
TEST_F(Form1HelpTest, WhatNothingCanOpenIsSaid) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("program")));
    Write("program/readme.txt", "help\r\n");
    desktop_.opens = false;
    Choose("meuHelpFile");
    Choose("meuVisitMyWeb");
    Choose("meuMailToMe");
    EXPECT_EQ(
        messages_.Texts(),
        QStringList({QStringLiteral("无法打开帮助文件") + HelpFile() +
                         QStringLiteral("：找不到能打开它的程序！"),
                     QStringLiteral("无法打开个人主页http://www.example.com/soft"
                                    "：找不到能打开它的程序！"),
                     QStringLiteral("无法新建发给tallix@example.com的邮件：找不到邮件程序！")}));
    ASSERT_EQ(messages_.shown.size(), 3u);
    EXPECT_EQ(messages_.shown[0].owner, &Window());
    EXPECT_TRUE(messages_.information.empty());
    EXPECT_EQ(desktop_.urls.size(), 2);
}

}  // namespace
}  // namespace tallix::testing
