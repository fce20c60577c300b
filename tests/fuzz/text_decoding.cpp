// Code page 936 and UTF-8 decoding, and decoded line reading, on arbitrary bytes. The first
// byte steers the block sizes; the rest is the text.

#include <string>

#include <algorithm>

#include "engine/text/codepage.h"
#include "engine/text/encoding_sniffer.h"
#include "engine/text/text_decoding.h"
#include "engine/text/text_lines.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The characters of valid UTF-8, each as its bytes.
std::vector<std::string_view> Characters(std::string_view utf8) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        while (i + length < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        characters.push_back(utf8.substr(i, length));
        i += length;
    }
    return characters;
}

void CheckCodePage(std::string_view bytes) {
    const std::string utf8 = AnsiToUtf8(bytes);
    Require(IsValidUtf8(utf8), "code page 936 decodes to valid UTF-8");
    if (utf8.find(kReplacement) == std::string::npos) {
        Require(Utf8ToAnsi(utf8) == bytes, "code page 936 text survives a round trip");
    }
    // Text the code page is written in comes back character for character, or as "?".
    const std::string sanitized = SanitizeUtf8(bytes);
    const auto before = Characters(sanitized);
    const std::string back = AnsiToUtf8(Utf8ToAnsi(sanitized));
    const auto after = Characters(back);
    Require(after.size() == before.size(), "encoding to code page 936 keeps every character");
    for (std::size_t i = 0; i < after.size(); ++i) {
        Require(after[i] == before[i] || after[i] == "?",
                "a character the code page cannot hold becomes \"?\"");
    }
}

void CheckUtf8(std::string_view bytes) {
    const std::string sanitized = SanitizeUtf8(bytes);
    Require(IsValidUtf8(sanitized), "sanitized text is valid UTF-8");
    Require(SanitizeUtf8(sanitized) == sanitized, "sanitizing twice changes nothing");
    if (IsValidUtf8(bytes)) {
        Require(sanitized == bytes, "valid UTF-8 passes unchanged");
    }
    Require(DecodeText(bytes, TextEncoding::Utf8) == sanitized, "UTF-8 files are sanitized");
}

std::vector<std::string> ReadInBlocks(std::string_view bytes, BlockPlan plan) {
    std::vector<std::string> lines;
    TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); });
    FeedInBlocks(reader, bytes, plan);
    reader.Finish();
    return lines;
}

void CheckLines(std::string_view bytes, std::uint8_t planSeed) {
    const std::vector<std::string_view> raw = RawLines(bytes);
    const std::vector<std::string> lines = SplitTextLines(bytes);
    Require(lines.size() == raw.size(), "one decoded line per line of bytes");
    const TextEncoding encoding = raw.empty() ? TextEncoding::Ansi : DetectEncoding(raw.front());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Require(!HasLineEndByte(lines[i]), "a line holds no CR or LF");
        Require(IsValidUtf8(lines[i]), "a decoded line is valid UTF-8");
        Require(lines[i] == DecodeText(raw[i], encoding), "a line is its own bytes decoded");
    }
    Require(ReadInBlocks(bytes, BlockPlan(0)) == lines,
            "byte-by-byte reading gives the same lines");
    Require(ReadInBlocks(bytes, BlockPlan(planSeed)) == lines,
            "reading in blocks of any size gives the same lines");
}

// Every encoding decodes to valid UTF-8, and decodes the same whether the bytes come whole
// or in blocks; a sniffed encoding is one the rule can give.
void CheckStreams(std::string_view bytes, std::uint8_t planSeed) {
    using enum TextEncoding;
    for (const TextEncoding encoding : {Ansi, Utf8, Utf16Le, Utf16Be, Windows1252}) {
        const std::string whole = DecodeText(bytes, encoding);
        Require(IsValidUtf8(whole), "every encoding decodes to valid UTF-8");
        StreamDecoder decoder(encoding);
        std::string streamed;
        BlockPlan plan(planSeed);
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t size = std::min(plan.Next(), bytes.size() - at);
            decoder.Feed(bytes.substr(at, size), streamed);
            at += size;
        }
        decoder.Finish(streamed);
        Require(streamed == whole, "a stream decodes as its whole does");
    }
    for (const EncodingRule rule :
         {EncodingRule::AnsiUnlessMarked, EncodingRule::Utf8UnlessInvalid, EncodingRule::Xml}) {
        EncodingSniffer whole(rule);
        whole.Feed(bytes);
        EncodingSniffer inBlocks(rule);
        BlockPlan plan(planSeed);
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t size = std::min(plan.Next(), bytes.size() - at);
            if (inBlocks.Feed(bytes.substr(at, size))) {
                break;
            }
            at += size;
        }
        Require(inBlocks.Result() == whole.Result(), "blocks do not change the encoding found");
        if (whole.Result() == Utf8 && !bytes.starts_with(kUtf8Bom) && rule != EncodingRule::Xml) {
            Require(IsValidUtf8(bytes), "unmarked text is taken as UTF-8 only when it is");
        }
    }
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    tallix::fuzz::CheckCodePage(bytes);
    tallix::fuzz::CheckUtf8(bytes);
    tallix::fuzz::CheckLines(bytes, data[0]);
    tallix::fuzz::CheckStreams(bytes, data[0]);
    return 0;
}
