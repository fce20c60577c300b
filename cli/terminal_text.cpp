#include "cli/terminal_text.h"

#include <cstdio>

#include "engine/text/display_width.h"

namespace tallix::cli {
namespace {

std::size_t ContinuationBytes(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 3;
    }
    return 0;
}

// The length of the well-formed UTF-8 character at text[i], or 0 when the byte there does
// not start one (a stray, overlong, surrogate or out-of-range sequence).
std::size_t WellFormedLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t more = ContinuationBytes(lead);
    if (more == 0 || more >= text.size() - i) {
        return 0;
    }
    // The second byte's range is narrower after E0, ED, F0 and F4.
    const auto second = static_cast<unsigned char>(text[i + 1]);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t k = 2; k <= more; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (next < 0x80 || next > 0xBF) {
            return 0;
        }
    }
    return more + 1;
}

// The controls of bidirectional text, which can make a name read as another on screen:
// the Arabic letter mark, the left-to-right and right-to-left marks, the embeddings and
// overrides, and the isolates.
bool IsBidiControl(char32_t point) {
    return point == 0x061C || point == 0x200E || point == 0x200F ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

std::string Hex(unsigned value, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
        width += IsWide(CodePointAt(utf8, i, length)) ? 2 : 1;
    }
    return width;
}

std::string ShowControls(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = WellFormedLength(utf8, i);
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            shown += "\\x" + Hex(byte, 2);
            ++i;
        } else if (byte == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            shown += "\\u00" + Hex(static_cast<unsigned char>(utf8[i + 1]), 2);
            i += 2;
        } else {
            std::size_t decoded = 0;
            const char32_t point = CodePointAt(utf8, i, decoded);
            if (IsBidiControl(point)) {
                shown += "\\u" + Hex(static_cast<unsigned>(point), 4);
            } else {
                shown.append(utf8, i, length);
            }
            i += length;
        }
    }
    return shown;
}

}  // namespace tallix::cli
