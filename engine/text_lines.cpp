#include "engine/text_lines.h"

#include <cstdint>
#include <cstring>

#include "engine/line_ends.h"

namespace tallix {

namespace {

// Both encodings leave ASCII as it is, and most lines of source are nothing else, so
// those are passed on without a conversion.
bool IsAscii(std::string_view bytes) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & kHighBits) return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    }
    return true;
}

// Decodes one line and hands it on; the first line decides the encoding. The byte-order
// mark, when there is one, lies wholly inside the first line: it holds no line-end byte.
void Emit(std::string_view bytes, bool& encodingKnown, TextEncoding& encoding,
          const TextLineReader::LineHandler& onLine) {
    if (!encodingKnown) {
        encoding = DetectEncoding(bytes);
        encodingKnown = true;
    }
    if (IsAscii(bytes)) {
        onLine(bytes);
    } else {
        onLine(DecodeText(bytes, encoding));
    }
}

}  // namespace

void TextLineReader::Feed(std::string_view block) {
    const char* p = block.data();
    const char* const end = p + block.size();
    if (afterCr_ && p != end) {
        afterCr_ = false;
        if (*p == '\n') ++p;
    }
    while (p != end) {
        const char* lineEnd = line_ends::FindLineEnd(p, end);
        if (lineEnd == end) {
            pending_.append(p, lineEnd);
            return;
        }
        // A line the block holds whole is passed on from the block itself.
        if (pending_.empty()) {
            Emit({p, static_cast<std::size_t>(lineEnd - p)}, encodingKnown_, encoding_, onLine_);
        } else {
            pending_.append(p, lineEnd);
            EmitLine();
        }
        p = lineEnd + 1;
        if (*lineEnd == '\r') {
            if (p == end) {
                afterCr_ = true;
            } else if (*p == '\n') {
                ++p;
            }
        }
    }
}

void TextLineReader::Finish() {
    if (!pending_.empty()) EmitLine();
}

void TextLineReader::EmitLine() {
    Emit(pending_, encodingKnown_, encoding_, onLine_);
    pending_.clear();
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); });
    reader.Feed(bytes);
    reader.Finish();
    return lines;
}

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace tallix
