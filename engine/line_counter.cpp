#include "engine/line_counter.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tallix {

// The counter classifies bytes, not decoded characters, and gets the same answer: every
// test it makes looks at a line's leading spaces, its first other byte and its first
// seventeen bytes, all ASCII. In code page 936 (and its four-byte extension) and in UTF-8,
// a byte below 0x80 at a character boundary is that ASCII character, a lead byte is never
// below 0x80, and the bytes tested here are all at character boundaries, being preceded
// only by ASCII. Line-end bytes never occur inside a multi-byte character, and a byte-order
// mark or any non-ASCII character at the start of a line makes it a code line either way.

namespace {

constexpr std::string_view kNameAttribute = "Attribute VB_Name";
constexpr std::string_view kModuleAttribute = "Attribute VB_";

const char* FindLineEnd(const char* p, const char* end) {
    return std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
}

}  // namespace

void LineCounter::Feed(std::string_view block) {
    const char* p = block.data();
    const char* const end = p + block.size();
    if (afterCr_ && p != end) {
        afterCr_ = false;
        if (*p == '\n') ++p;
    }
    while (p != end) {
        // Only the head of a line matters; the rest is skipped to its end.
        const char* lineEnd = FindLineEnd(p, end);
        if (p != lineEnd) {
            lineOpen_ = true;
            const std::size_t take = std::min<std::size_t>(kHeadSize - headLength_, lineEnd - p);
            std::memcpy(head_ + headLength_, p, take);
            headLength_ += take;
            if (!nonSpaceSeen_) {
                const char* firstOther = std::find_if(p, lineEnd, [](char c) { return c != ' '; });
                if (firstOther != lineEnd) {
                    nonSpaceSeen_ = true;
                    firstNonSpace_ = *firstOther;
                }
            }
        }
        if (lineEnd == end) return;
        EndLine();
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

LineTally LineCounter::Finish() {
    if (lineOpen_) EndLine();
    return tally_;
}

void LineCounter::EndLine() {
    const std::string_view head(head_, headLength_);
    const bool counted = [&] {
        if (!vb6_) return true;
        if (head.starts_with(kNameAttribute)) codeFlag_ = true;
        return codeFlag_ && !head.starts_with(kModuleAttribute);
    }();
    if (counted) {
        if (!nonSpaceSeen_) {
            ++tally_.blank;
        } else if (firstNonSpace_ == '\'') {
            ++tally_.comment;
        } else {
            ++tally_.code;
        }
    }
    lineOpen_ = false;
    nonSpaceSeen_ = false;
    headLength_ = 0;
}

LineTally TallyVb6Text(std::string_view bytes) {
    LineCounter counter(SourceKind::Vb6);
    counter.Feed(bytes);
    return counter.Finish();
}

LineTally TallyVbNetText(std::string_view bytes) {
    LineCounter counter(SourceKind::VbNet);
    counter.Feed(bytes);
    return counter.Finish();
}

FileTally TallyFile(const std::string& path, SourceKind kind) {
    FileTally result;
    InputFile file = InputFile::Open(path);
    if (!file.IsOpen()) {
        result.problem = file.Problem();
        return result;
    }
    LineCounter counter(kind);
    const auto buffer = std::make_unique<char[]>(kReadBlockSize);
    while (const std::size_t got = file.Read(buffer.get(), kReadBlockSize))
        counter.Feed({buffer.get(), got});
    result.problem = file.Problem();
    // A file that fails half-way counts nothing rather than a part that looks complete.
    if (result.problem.error == FileError::None) result.tally = counter.Finish();
    return result;
}

std::int64_t CountVb6File(const std::string& path, bool skipBlankLines, bool skipCommentLines) {
    return TallyFile(path, SourceKind::Vb6).tally.Counted(skipBlankLines, skipCommentLines);
}

std::int64_t CountVbNetFile(const std::string& path, bool skipBlankLines, bool skipCommentLines) {
    return TallyFile(path, SourceKind::VbNet).tally.Counted(skipBlankLines, skipCommentLines);
}

}  // namespace tallix
