#include "persistence/setting_values.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tallix {
namespace {

struct NumberCase {
    const char* text;
    double value;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

constexpr double kHuge = std::numeric_limits<double>::infinity();
const std::string kFourHundredDigitsText = "1" + std::string(400, '0');
const char* const kFourHundredDigits = kFourHundredDigitsText.c_str();
const std::string kTinyFractionText = "0." + std::string(400, '0') + "1";
const char* const kTinyFraction = kTinyFractionText.c_str();

class LeadingNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    SourceProjValues, LeadingNumberTest,
    ::testing::Values(NumberCase{"0", 0}, NumberCase{"1", 1}, NumberCase{"2", 2},
                      NumberCase{"-1", -1}, NumberCase{"+3", 3}, NumberCase{"0.5", 0.5},
                      NumberCase{"-.25", -0.25}, NumberCase{".", 0}, NumberCase{"-", 0},
                      NumberCase{"", 0}, NumberCase{"abc", 0}, NumberCase{"1abc", 1},
                      NumberCase{"0.0", 0}, NumberCase{"-0", 0}, NumberCase{"00", 0},
                      NumberCase{"  7", 7}, NumberCase{"1.5.2", 1.5}, NumberCase{"1e2", 100},
                      NumberCase{"1e", 1}, NumberCase{"2E-1x", 0.2}, NumberCase{"e5", 0},
                      NumberCase{"\t1", 0}, NumberCase{"1\t", 1}, NumberCase{"1,5", 1},
                      // beyond a double: too large is infinite, too small is 0
                      NumberCase{"1e999", kHuge}, NumberCase{"-1e999", -kHuge},
                      NumberCase{"1e-999", 0}, NumberCase{"1e99999999999999999999", kHuge},
                      NumberCase{"0.5e-99999999999999999999", 0},
                      NumberCase{kFourHundredDigits, kHuge}, NumberCase{kTinyFraction, 0}));

struct BoolCase {
    const char* text;
    bool value;
};

void PrintTo(const BoolCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class SettingToBoolTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(SettingToBoolTest, ReadsWordsAndNumbers) {
    EXPECT_EQ(SettingToBool(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    OptionValues, SettingToBoolTest,
    ::testing::Values(BoolCase{"True", true}, BoolCase{"TRUE", true}, BoolCase{"tRuE", true},
                      BoolCase{"False", false}, BoolCase{"FALSE", false}, BoolCase{" True ", true},
                      BoolCase{"1", true}, BoolCase{"-1", true}, BoolCase{"0.5", true},
                      BoolCase{"0", false}, BoolCase{"0.0", false}, BoolCase{"", false},
                      BoolCase{"yes", false}, BoolCase{"Truest", false}, BoolCase{"1abc", false},
                      BoolCase{"T", false}, BoolCase{"nan", false}, BoolCase{"inf", false},
                      BoolCase{"1e999", true}, BoolCase{"1e-999", false},
                      // Only spaces are trimmed; a tab is text.
                      BoolCase{" 1 ", true}, BoolCase{"1\t", false}, BoolCase{"\t1", false},
                      BoolCase{"True\t", false}, BoolCase{"\tFalse", false}));

TEST(BoolToSettingTest, WritesTheWords) {
    EXPECT_EQ(BoolToSetting(true), "True");
    EXPECT_EQ(BoolToSetting(false), "False");
    EXPECT_TRUE(SettingToBool(BoolToSetting(true)));
    EXPECT_FALSE(SettingToBool(BoolToSetting(false)));
}

}  // namespace
}  // namespace tallix
