#include "engine/text_lines.h"

#include <algorithm>

namespace tallix {

namespace {

const char* FindLineEnd(const char* p, const char* end) {
    return std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
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
        const char* lineEnd = FindLineEnd(p, end);
        pending_.append(p, lineEnd);
        if (lineEnd == end) return;
        EmitLine();
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
    // The byte-order mark, when there is one, lies wholly inside the first line: it holds
    // no line-end byte.
    if (!encodingKnown_) {
        encoding_ = DetectEncoding(pending_);
        encodingKnown_ = true;
    }
    onLine_(DecodeText(pending_, encoding_));
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
