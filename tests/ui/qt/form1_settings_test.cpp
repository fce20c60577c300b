// How the Qt window shows the kind and the counting options: the option buttons and the
// menu check marks follow the commands, and a checkable menu item flips once per choice.
#include <QLineEdit>
#include <QRadioButton>

#include "form1_fixture.h"

namespace tallix::testing {
namespace {

TEST_F(Form1Test, FirstStartWithNoSettings) {
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Cantorel Ver 1.00 Build 0062"));
    EXPECT_TRUE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_FALSE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuBlankLine"));
    EXPECT_FALSE(Checked("meuRemarkLine"));
    EXPECT_EQ(Window().focusWidget(), Find<QLineEdit>("txtFileName"));
}

TEST_F(Form1Test, StoredChoicesShowAtStart) {
    Store("SourceProj", "1");
    Store("BlankLine", "True");
    Store("RemarkLine", "true");
    EXPECT_TRUE(Find<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
    EXPECT_TRUE(Checked("meuBlankLine"));
    EXPECT_TRUE(Checked("meuRemarkLine"));
}

TEST_F(Form1Test, OptionButtonsSelectTheKind) {
    Click("Option2");
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("1"));
    Click("Option1");
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_FALSE(Checked("meuVBdotNetProj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("0"));
}

TEST_F(Form1Test, MenuItemsSelectTheKindsButton) {
    Choose("meuVBdotNetProj");
    EXPECT_TRUE(Find<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
    Choose("meuVB6Proj");
    EXPECT_TRUE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_FALSE(Checked("meuVBdotNetProj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("0"));
}

// A checked item chosen again would uncheck itself; the mark stays where the kind is.
TEST_F(Form1Test, ChoosingTheSelectedKindKeepsItsMark) {
    Choose("meuVB6Proj");
    Click("Option1");
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_FALSE(Checked("meuVBdotNetProj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("<absent>"));
    Choose("meuVBdotNetProj");
    Choose("meuVBdotNetProj");
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
}

TEST_F(Form1Test, EachChoiceOfAnOptionFlipsItOnce) {
    Choose("meuBlankLine");
    EXPECT_TRUE(Checked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("True"));
    Choose("meuBlankLine");
    EXPECT_FALSE(Checked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("False"));
    Choose("meuRemarkLine");
    EXPECT_TRUE(Checked("meuRemarkLine"));
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("True"));
}

}  // namespace
}  // namespace tallix::testing
