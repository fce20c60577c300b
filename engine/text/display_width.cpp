#include "engine/text/display_width.h"

#include <algorithm>
#include <iterator>

namespace tallix {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr Range kWideInChineseText[] = {
#include "wide_table.inc"
};

}  // namespace

char32_t CodePointAt(std::string_view utf8, std::size_t at, std::size_t& length) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (at + length > utf8.size()) {
        length = 1;
        return byte;
    }
    char32_t point = length == 1 ? byte : byte & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) {
        point = (point << 6) | (static_cast<unsigned char>(utf8[at + k]) & 0x3F);
    }
    return point;
}

bool IsWide(char32_t point) {
    return (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
           (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
           (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
           (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x20000 && point <= 0x3FFFD);
}

bool IsWideInChineseText(char32_t c) {
    // The first range that does not end before c holds it, if any does.
    const auto* range =
        std::lower_bound(std::begin(kWideInChineseText), std::end(kWideInChineseText), c,
                         [](const Range& r, char32_t point) { return r.last < point; });
    return range != std::end(kWideInChineseText) && range->first <= c;
}

}  // namespace tallix
