#include "persistence/setting_values.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace tallix {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimSpaces(std::string_view text) {
    text = SkipSpaces(text);
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = (text[i] >= 'A' && text[i] <= 'Z') ? char(text[i] - 'A' + 'a') : text[i];
        if (c != word[i]) {
            return false;
        }
    }
    return true;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
}

// The length of the number that starts the text, 0 when there is none. A mantissa needs at
// least one digit; an exponent counts only when digits follow its letter and sign.
std::size_t NumberLength(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t integerStart = at;
    at = SkipDigits(text, at);
    std::size_t digits = at - integerStart;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionStart = at + 1;
        at = SkipDigits(text, fractionStart);
        digits += at - fractionStart;
    }
    if (digits == 0) {
        return 0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            at = exponentEnd;
        }
    }
    return at;
}

// Whether an unsigned number that a double cannot hold is too large rather than too small:
// its first significant digit, with the exponent applied, stands at a power of ten above 0.
bool TooLarge(std::string_view number) {
    const std::size_t letter = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, letter);
    long long exponent = 0;
    if (letter != std::string_view::npos) {
        std::string_view digits = number.substr(letter + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            digits.remove_prefix(1);
        }
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec !=
            std::errc()) {
            exponent = std::numeric_limits<int>::max();  // beyond any double either way
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    const long long place = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return place + exponent > 0;
}

// The value of text that NumberLength accepted in full.
double NumberValue(std::string_view number) {
    const bool negative = number.front() == '-';
    if (number.front() == '-' || number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = TooLarge(number) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    text = SkipSpaces(text);
    const std::size_t length = NumberLength(text);
    return length == 0 ? 0.0 : NumberValue(text.substr(0, length));
}

bool SettingToBool(std::string_view text) {
    text = TrimSpaces(text);
    if (EqualsIgnoringCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(text, "false")) {
        return false;
    }
    const std::size_t length = NumberLength(text);
    return length > 0 && length == text.size() && NumberValue(text) != 0.0;
}

std::string BoolToSetting(bool value) {
    return value ? "True" : "False";
}

}  // namespace tallix
