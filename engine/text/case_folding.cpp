#include "engine/text/case_folding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace tallix {

namespace {

// Characters first to last that fold by the same distance, every one or every other one.
struct FoldRange {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint8_t stride;
};

// Built from the Unicode Character Database when the engine is built.
constexpr FoldRange kFoldRanges[] = {
#include "case_folding_table.inc"
};

constexpr char32_t kStrayByteBase = 0x110000;

// The character that starts with a byte above 0x7F, and its length in bytes; or for a byte
// that starts no well-formed character, that byte's stand-in and 1.
std::pair<char32_t, std::size_t> DecodeMultiByte(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    char32_t c = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        // Overlong forms and surrogates are excluded through the second byte's range.
        lo = lead == 0xE0 ? 0xA0 : 0x80;
        hi = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        lo = lead == 0xF0 ? 0x90 : 0x80;
        hi = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || s.size() < length) {
        return {kStrayByteBase + lead, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned next = byte(i);
        if (next < (i == 1 ? lo : 0x80) || next > (i == 1 ? hi : 0xBF)) {
            return {kStrayByteBase + lead, 1};
        }
        c = (c << 6) | (next & 0x3F);
    }
    return {c, length};
}

// The character at the start of s and its length in bytes, or a stray byte's stand-in and 1.
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    return lead < 0x80 ? std::pair<char32_t, std::size_t>{lead, 1} : DecodeMultiByte(s);
}

}  // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    }
    const auto after = std::upper_bound(std::begin(kFoldRanges), std::end(kFoldRanges), c,
                                        [](char32_t x, const FoldRange& r) { return x < r.first; });
    if (after == std::begin(kFoldRanges)) {
        return c;
    }
    const FoldRange& range = *std::prev(after);
    if (c > range.last || (c - range.first) % range.stride != 0) {
        return c;
    }
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + range.delta);
}

std::u32string FoldedCharacters(std::string_view utf8) {
    std::u32string folded;
    folded.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto [c, length] = DecodeUtf8(utf8);
        folded += FoldCase(c);
        utf8.remove_prefix(length);
    }
    return folded;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return FoldedCharacters(a) == FoldedCharacters(b);
}

std::uint64_t FoldedHash(std::string_view utf8) {
    // FNV-1a over the folded characters, without building them: a folder of 100,000 names
    // is hashed name by name.
    std::uint64_t hash = 0xCBF29CE484222325;
    while (!utf8.empty()) {
        const auto [c, length] = DecodeUtf8(utf8);
        hash = (hash ^ FoldCase(c)) * 0x100000001B3;
        utf8.remove_prefix(length);
    }
    return hash;
}

}  // namespace tallix
