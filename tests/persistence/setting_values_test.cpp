#include "persistence/setting_values.h"

#include <gtest/gtest.h>

#include "persistence/qt_test_printing.h"

namespace tallix {
namespace {

struct NumberCase {
    const char16_t* text;
    double value;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

class LeadingNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value)
        << QString::fromUtf16(GetParam().text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    SourceProjValues, LeadingNumberTest,
    ::testing::Values(NumberCase{u"0", 0}, NumberCase{u"1", 1}, NumberCase{u"2", 2},
                      NumberCase{u"-1", -1}, NumberCase{u"+3", 3}, NumberCase{u"0.5", 0.5},
                      NumberCase{u"-.25", -0.25}, NumberCase{u".", 0}, NumberCase{u"-", 0},
                      NumberCase{u"", 0}, NumberCase{u"abc", 0}, NumberCase{u"1abc", 1},
                      NumberCase{u"0.0", 0}, NumberCase{u"-0", 0}, NumberCase{u"00", 0},
                      NumberCase{u"  7", 7}, NumberCase{u"1.5.2", 1.5}, NumberCase{u"1e2", 100},
                      NumberCase{u"1e", 1}, NumberCase{u"2E-1x", 0.2}, NumberCase{u"e5", 0},
                      NumberCase{u"\t1", 0}, NumberCase{u"1\t", 1}, NumberCase{u"1,5", 1}));

struct BoolCase {
    const char16_t* text;
    bool value;
};

void PrintTo(const BoolCase& c, std::ostream* out) {
    *out << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

class SettingToBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(SettingToBoolTest, ReadsWordsAndNumbers) {
    EXPECT_EQ(SettingToBool(GetParam().text), GetParam().value)
        << QString::fromUtf16(GetParam().text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    OptionValues, SettingToBoolTest,
    ::testing::Values(BoolCase{u"True", true}, BoolCase{u"TRUE", true}, BoolCase{u"tRuE", true},
                      BoolCase{u"False", false}, BoolCase{u"FALSE", false},
                      BoolCase{u" True ", true}, BoolCase{u"1", true}, BoolCase{u"-1", true},
                      BoolCase{u"0.5", true}, BoolCase{u"0", false}, BoolCase{u"0.0", false},
                      BoolCase{u"", false}, BoolCase{u"yes", false}, BoolCase{u"Truest", false},
                      BoolCase{u"1abc", false}, BoolCase{u"T", false}, BoolCase{u"nan", false},
                      BoolCase{u"inf", false},
                      // Only spaces are trimmed; a tab is text.
                      BoolCase{u" 1 ", true}, BoolCase{u"1\t", false}, BoolCase{u"\t1", false},
                      BoolCase{u"True\t", false}, BoolCase{u"\tFalse", false}));

TEST(BoolToSettingTest, WritesTheWords) {
    EXPECT_EQ(BoolToSetting(true), QStringLiteral("True"));
    EXPECT_EQ(BoolToSetting(false), QStringLiteral("False"));
    EXPECT_TRUE(SettingToBool(BoolToSetting(true)));
    EXPECT_FALSE(SettingToBool(BoolToSetting(false)));
}

}  // namespace
}  // namespace tallix
