#include "engine/text/text_decoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "engine/text/codepage.h"

namespace tallix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The bytes a sequence takes after its lead, and the range of its second byte: overlong
// forms and surrogates are excluded there. 0 for a byte that leads no sequence.
struct Lead {
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

Lead LeadOf(unsigned char lead) {
    if (lead < 0x80) {
        return {1, 0, 0};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {4, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
    }
    return {0, 0, 0};
}

// How many bytes of s after the lead fit the sequence the lead starts.
std::size_t FittingBytes(std::string_view s, const Lead& lead) {
    std::size_t i = 1;
    for (; i < lead.length && i < s.size(); ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        const unsigned char low = i == 1 ? lead.secondLow : 0x80;
        const unsigned char high = i == 1 ? lead.secondHigh : 0xBF;
        if (byte < low || byte > high) {
            break;
        }
    }
    return i;
}

// Windows-1252's characters for 0x80 to 0x9F; 0 where it has none (those bytes become
// U+FFFD). Every other byte is the character of its own value.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char16_t Utf16Unit(std::string_view bytes, std::size_t at, bool bigEndian) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const char16_t unit = Utf16Unit(bytes, at, bigEndian);
        if (IsHighSurrogate(unit) && at + 3 < bytes.size() &&
            IsLowSurrogate(Utf16Unit(bytes, at + 2, bigEndian))) {
            const char16_t low = Utf16Unit(bytes, at + 2, bigEndian);
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            at += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out += kReplacement;
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (at < bytes.size()) {
        out += kReplacement;  // half a unit
    }
    return out;
}

// Where the characters that bytes hold whole end: the rest waits for more bytes. Every cut
// falls where DecodeText, decoding the whole, would also start a character.
std::size_t CompletePrefix(std::string_view bytes, TextEncoding encoding) {
    std::size_t at = 0;
    switch (encoding) {
        case TextEncoding::Windows1252:
            return bytes.size();
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be: {
            std::size_t end = bytes.size() & ~std::size_t{1};
            const bool bigEndian = encoding == TextEncoding::Utf16Be;
            if (end >= 2 && IsHighSurrogate(Utf16Unit(bytes, end - 2, bigEndian))) {
                end -= 2;  // its partner may come next
            }
            return end;
        }
        case TextEncoding::Utf8:
            while (at < bytes.size()) {
                const std::string_view rest = bytes.substr(at);
                if (IsUtf8PrefixCut(rest)) {
                    break;
                }
                at += std::max<std::size_t>(Utf8SequenceLength(rest), 1);
            }
            return at;
        case TextEncoding::Ansi:
            // A lead byte and the byte after it are one character when that byte can trail.
            while (at < bytes.size()) {
                const auto byte = static_cast<unsigned char>(bytes[at]);
                if (byte < 0x81 || byte > 0xFE) {
                    ++at;
                } else if (at + 1 == bytes.size()) {
                    break;
                } else {
                    at += IsTrailByte(static_cast<unsigned char>(bytes[at + 1])) ? 2 : 1;
                }
            }
            return at;
    }
    return at;
}

std::string DecodeWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x80 && byte <= 0x9F) {
            const char16_t c = kWindows1252High[byte - 0x80];
            if (c == 0) {
                out += kReplacement;
            } else {
                AppendUtf8(out, c);
            }
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t Utf8SequenceLength(std::string_view s) {
    const Lead lead = LeadOf(static_cast<unsigned char>(s[0]));
    if (lead.length == 0) {
        return 0;
    }
    return FittingBytes(s, lead) == lead.length ? lead.length : 0;
}

bool IsUtf8PrefixCut(std::string_view s) {
    const Lead lead = LeadOf(static_cast<unsigned char>(s[0]));
    return lead.length > s.size() && FittingBytes(s, lead) == s.size();
}

TextEncoding DetectEncoding(std::string_view firstBytes) {
    return firstBytes.starts_with(kUtf8Bom) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

std::optional<TextEncoding> EncodingOfMark(std::string_view firstBytes) {
    if (firstBytes.starts_with(kUtf8Bom)) {
        return TextEncoding::Utf8;
    }
    if (firstBytes.starts_with(kUtf16LeBom)) {
        return TextEncoding::Utf16Le;
    }
    if (firstBytes.starts_with(kUtf16BeBom)) {
        return TextEncoding::Utf16Be;
    }
    return std::nullopt;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0) {
            out += kReplacement;
            bytes.remove_prefix(1);
        } else {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        }
    }
    return out;
}

bool IsAscii(std::string_view bytes) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return SanitizeUtf8(bytes);
        case TextEncoding::Windows1252:
            return DecodeWindows1252(bytes);
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            return DecodeUtf16(bytes, encoding == TextEncoding::Utf16Be);
        case TextEncoding::Ansi:
            break;
    }
    return AnsiToUtf8(bytes);
}

void StreamDecoder::Feed(std::string_view bytes, std::string& out) {
    if (!held_.empty()) {
        held_.append(bytes);
        bytes = held_;
    }
    const std::size_t whole = CompletePrefix(bytes, encoding_);
    out += DecodeText(bytes.substr(0, whole), encoding_);
    held_ = std::string(bytes.substr(whole));
}

void StreamDecoder::Finish(std::string& out) {
    out += DecodeText(held_, encoding_);
    held_.clear();
}

}  // namespace tallix
