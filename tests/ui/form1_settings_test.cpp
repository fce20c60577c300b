// The window's start-up from stored settings, and the settings its choices write.
#include <QApplication>
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
    for (const char* key : {"Init_Dir", "SourceProj", "BlankLine", "RemarkLine"})
        EXPECT_EQ(Stored(key), QStringLiteral("<absent>")) << key << " written at start";
}

struct StoredKindCase {
    const char16_t* stored;
    bool selectsVbNet;
    const char16_t* storedAfterStart;
};

void PrintTo(const StoredKindCase& c, std::ostream* out) {
    *out << "SourceProj=" << QString::fromUtf16(c.stored).toStdString();
}

class Form1StoredKindTest : public Form1Test,
                            public ::testing::WithParamInterface<StoredKindCase> {};

TEST_P(Form1StoredKindTest, SelectsTheKindAndRewritesOnlyVbNet) {
    const StoredKindCase& c = GetParam();
    Store("SourceProj", QString::fromUtf16(c.stored));
    EXPECT_EQ(Find<QRadioButton>("Option2")->isChecked(), c.selectsVbNet);
    EXPECT_EQ(Find<QRadioButton>("Option1")->isChecked(), !c.selectsVbNet);
    EXPECT_EQ(Checked("meuVBdotNetProj"), c.selectsVbNet);
    EXPECT_EQ(Checked("meuVB6Proj"), !c.selectsVbNet);
    EXPECT_EQ(Stored("SourceProj"), QString::fromUtf16(c.storedAfterStart));
}

INSTANTIATE_TEST_SUITE_P(
    OddValuesToo, Form1StoredKindTest,
    ::testing::Values(StoredKindCase{u"1", true, u"1"}, StoredKindCase{u"2", true, u"1"},
                      StoredKindCase{u"-0.5", true, u"1"}, StoredKindCase{u"1abc", true, u"1"},
                      StoredKindCase{u"0", false, u"0"}, StoredKindCase{u"0.0", false, u"0.0"},
                      StoredKindCase{u"abc", false, u"abc"}, StoredKindCase{u"", false, u""}));

struct StoredOptionsCase {
    const char16_t* blankLine;
    const char16_t* remarkLine;
    bool skipBlank;
    bool skipRemark;
};

void PrintTo(const StoredOptionsCase& c, std::ostream* out) {
    *out << "BlankLine=" << QString::fromUtf16(c.blankLine).toStdString()
         << " RemarkLine=" << QString::fromUtf16(c.remarkLine).toStdString();
}

class Form1StoredOptionsTest : public Form1Test,
                               public ::testing::WithParamInterface<StoredOptionsCase> {};

TEST_P(Form1StoredOptionsTest, SetsTheCheckMarksWithoutWriting) {
    const StoredOptionsCase& c = GetParam();
    Store("BlankLine", QString::fromUtf16(c.blankLine));
    Store("RemarkLine", QString::fromUtf16(c.remarkLine));
    EXPECT_EQ(Checked("meuBlankLine"), c.skipBlank);
    EXPECT_EQ(Checked("meuRemarkLine"), c.skipRemark);
    EXPECT_EQ(Stored("BlankLine"), QString::fromUtf16(c.blankLine));
    EXPECT_EQ(Stored("RemarkLine"), QString::fromUtf16(c.remarkLine));
}

INSTANTIATE_TEST_SUITE_P(WordsNumbersAndJunk, Form1StoredOptionsTest,
                         ::testing::Values(StoredOptionsCase{u"True", u"False", true, false},
                                           StoredOptionsCase{u"false", u"TRUE", false, true},
                                           StoredOptionsCase{u"-1", u"0", true, false},
                                           StoredOptionsCase{u"junk", u"", false, false}));

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

TEST_F(Form1Test, MenuItemsSelectTheKindThroughTheButtons) {
    Choose("meuVBdotNetProj");
    EXPECT_TRUE(Find<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("1"));
    Choose("meuVB6Proj");
    EXPECT_TRUE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_FALSE(Checked("meuVBdotNetProj"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("0"));
}

TEST_F(Form1Test, SelectingTheSelectedKindChangesNothing) {
    Choose("meuVB6Proj");
    Click("Option1");
    EXPECT_TRUE(Checked("meuVB6Proj"));
    EXPECT_TRUE(Find<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("<absent>"));

    Choose("meuVBdotNetProj");
    Store("SourceProj", QStringLiteral("untouched"));
    Choose("meuVBdotNetProj");
    Click("Option2");
    EXPECT_TRUE(Checked("meuVBdotNetProj"));
    EXPECT_FALSE(Checked("meuVB6Proj"));
    EXPECT_TRUE(Find<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("untouched"));
}

TEST_F(Form1Test, TogglingEachOptionTwice) {
    Choose("meuBlankLine");
    EXPECT_TRUE(Checked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("True"));
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("<absent>"));
    Choose("meuBlankLine");
    EXPECT_FALSE(Checked("meuBlankLine"));
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("False"));

    Choose("meuRemarkLine");
    EXPECT_TRUE(Checked("meuRemarkLine"));
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("True"));
    Choose("meuRemarkLine");
    EXPECT_FALSE(Checked("meuRemarkLine"));
    EXPECT_EQ(Stored("RemarkLine"), QStringLiteral("False"));
    EXPECT_EQ(Stored("BlankLine"), QStringLiteral("False"));
    EXPECT_EQ(Stored("SourceProj"), QStringLiteral("<absent>"));
}

}  // namespace
}  // namespace tallix::testing
