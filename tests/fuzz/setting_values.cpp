// The conversions between stored setting text and values, on arbitrary text: spaces around a
// value never change it, whatever follows a number never changes the number, a stored word
// reads back as what was stored, a number written out reads back as itself, and text read
// as true is the word True or a number other than 0. The first eight bytes make a number,
// the rest a text (UTF-8).

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "persistence/setting_values.h"

namespace tallix::fuzz {
namespace {

bool SameNumber(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool IsTrueWord(std::string text) {
    while (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text == "true";
}

void CheckText(const std::string& text) {
    const bool value = SettingToBool(text);
    Require(SettingToBool("  " + text + " ") == value, "spaces around an option change nothing");
    if (value && !IsTrueWord(text)) {
        Require(LeadingNumber(text) != 0.0, "an option read as true is True or a number not 0");
    }
    const double number = LeadingNumber(text);
    Require(!std::isnan(number), "a leading number is never NaN");
    Require(SameNumber(LeadingNumber(text + "x"), number),
            "what follows a number does not change it");
    Require(SameNumber(LeadingNumber(" " + text), number), "spaces before a number are skipped");
}

void CheckNumber(double number) {
    if (!std::isfinite(number)) {
        return;
    }
    char written[40];
    std::snprintf(written, sizeof written, "%.17g", number);
    Require(LeadingNumber(written) == number, "a number written out reads back as itself");
    Require(SettingToBool(written) == (number != 0.0), "a stored number is true when not 0");
}

void CheckWords(std::uint8_t letterCases) {
    Require(SettingToBool(BoolToSetting(true)) && !SettingToBool(BoolToSetting(false)),
            "a stored option reads back as itself");
    std::string word = "true";
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (letterCases & (1u << i)) {
            word[i] = static_cast<char>(word[i] - 'a' + 'A');
        }
    }
    Require(SettingToBool(word), "True reads as true in any letter case");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    if (size < sizeof(double)) {
        return 0;
    }
    double number;
    std::memcpy(&number, data, sizeof number);
    CheckNumber(number);
    CheckWords(data[0]);
    const auto* text = reinterpret_cast<const char*>(data) + sizeof number;
    CheckText(std::string(text, size - sizeof number));
    return 0;
}
