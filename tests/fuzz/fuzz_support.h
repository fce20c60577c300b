#pragma once

// Shared by the fuzz targets: a check that stops the run loudly, and reference readings of
// the text rules written apart from the engine, for the targets to compare against.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/encoding_sniffer.h"
#include "engine/text/text_lines.h"

namespace tallix::fuzz {

// Stops with the broken property named; libFuzzer then keeps the input, and the replay
// test fails on it.
inline void Require(bool holds, const char* property) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "property does not hold: %s\n", property);
    std::abort();
}

// A well-formed UTF-8 test by the table of RFC 3629: no overlong forms, no surrogates,
// nothing above U+10FFFF.
inline bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(s[at]); };
    const auto inRange = [&](std::size_t at, unsigned lo, unsigned hi) {
        return at < s.size() && byte(at) >= lo && byte(at) <= hi;
    };
    while (i < s.size()) {
        const unsigned b = byte(i);
        std::size_t length = 0;
        if (b <= 0x7F) {
            length = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = inRange(i + 1, 0x80, 0xBF) ? 2 : 0;
        } else if (b >= 0xE0 && b <= 0xEF) {
            const unsigned lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
            length = inRange(i + 1, lo, hi) && inRange(i + 2, 0x80, 0xBF) ? 3 : 0;
        } else if (b >= 0xF0 && b <= 0xF4) {
            const unsigned lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
            length =
                inRange(i + 1, lo, hi) && inRange(i + 2, 0x80, 0xBF) && inRange(i + 3, 0x80, 0xBF)
                    ? 4
                    : 0;
        }
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

inline bool HasLineEndByte(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// The lines of a byte stream as the text rules cut them: at CR LF, CR or LF, with no empty
// line after a final line end.
inline std::vector<std::string_view> RawLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            continue;
        }
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < bytes.size()) {
        lines.push_back(bytes.substr(start));
    }
    return lines;
}

// Block sizes for feeding a stream, steered by the fuzzer through one byte: sizes from 1 to
// a base that runs from 1 (seed 0: byte by byte) to 8 KiB, so that boundaries fall inside
// CR LF pairs and double-byte characters, and whole runs of lines fit in a block too.
class BlockPlan {
public:
    explicit BlockPlan(std::uint8_t seed)
        : base_(seed < 128 ? 1 + seed % 64 : 64 * (seed - 127u)), state_(seed) {}

    std::size_t Next() {
        state_ = state_ * 1103515245u + 12345u;
        return 1 + (state_ >> 16) % base_;
    }

private:
    std::size_t base_;
    std::uint32_t state_;
};

// Feeds `bytes` to anything with Feed(std::string_view), in blocks of the given plan.
template <typename Reader>
void FeedInBlocks(Reader& reader, std::string_view bytes, BlockPlan plan) {
    while (!bytes.empty()) {
        const std::size_t size = std::min(plan.Next(), bytes.size());
        reader.Feed(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
}

// The decoded lines of a project file, in the encoding its rule finds, as its reader sees
// them.
inline std::vector<std::string> LinesAsRead(std::string_view bytes, EncodingRule rule) {
    EncodingSniffer sniffer(rule);
    sniffer.Feed(bytes);
    std::vector<std::string> lines;
    TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); },
                          TextEncoding::Utf8);
    reader.Feed(DecodeText(bytes, sniffer.Result()));
    reader.Finish();
    return lines;
}

}  // namespace tallix::fuzz
