#include "engine/text/text_lines.h"

#include <algorithm>

namespace tallix {

TextLineReader::TextLineReader(LineHandler onLine, TextEncoding encoding)
    : onLine_(std::move(onLine)), encodingKnown_(true), encoding_(encoding) {
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        toUtf8_.emplace(encoding);
        encoding_ = TextEncoding::Utf8;
    }
}

void TextLineReader::Feed(std::string_view block) {
    if (!toUtf8_) {
        FeedBytes(block);
        return;
    }
    std::string text;
    toUtf8_->Feed(block, text);
    FeedBytes(text);
}

void TextLineReader::FeedBytes(std::string_view block) {
    const char* p = crLf_.Resume(block.data(), block.data() + block.size());
    const char* const end = block.data() + block.size();
    while (p != end) {
        const char* lineEnd = line_ends::FindLineEnd(p, end);
        if (lineEnd == end) {
            Keep(p, end);
            return;
        }
        // A line the block holds whole is passed on from the block itself.
        if (kept_.empty()) {
            EmitWhole({p, static_cast<std::size_t>(lineEnd - p)});
        } else {
            Keep(p, lineEnd);
            EmitKept();
        }
        p = crLf_.PastLineEnd(lineEnd, end);
    }
}

void TextLineReader::Finish() {
    if (toUtf8_) {
        std::string rest;
        toUtf8_->Finish(rest);
        FeedBytes(rest);
    }
    if (!kept_.empty()) {
        EmitKept();
    }
}

void TextLineReader::Keep(const char* from, const char* to) {
    const auto room = kMaxLineBytes - kept_.size();
    const auto size = static_cast<std::size_t>(to - from);
    kept_.append(from, std::min(size, room));
    keptCut_ = keptCut_ || size > room;
}

void TextLineReader::EmitWhole(std::string_view bytes) {
    Emit(bytes.substr(0, kMaxLineBytes), bytes.size() > kMaxLineBytes);
}

void TextLineReader::EmitKept() {
    Emit(kept_, keptCut_);
    kept_.clear();
    keptCut_ = false;
}

// Decodes one line and hands it on; the first line decides the encoding. The byte-order
// mark, when there is one, lies wholly inside the first line: it holds no line-end byte.
void TextLineReader::Emit(std::string_view bytes, bool cut) {
    if (!encodingKnown_) {
        encoding_ = DetectEncoding(bytes);
        encodingKnown_ = true;
    }
    std::string decoded;
    const std::string_view text = IsAscii(bytes) ? bytes : (decoded = DecodeText(bytes, encoding_));
    if (cut) {
        onLine_(std::string(text) + std::string(kCutMark));
    } else {
        onLine_(text);
    }
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
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace tallix
