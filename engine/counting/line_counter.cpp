#include "engine/counting/line_counter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/counting/line_bits.h"
#include "engine/text/line_ends.h"

namespace tallix {

// The counter classifies bytes, not decoded characters, and gets the same answer: every
// test it makes looks at a line's leading spaces, its first other byte and its first
// seventeen bytes, all ASCII. In code page 936 (and its four-byte extension) and in UTF-8,
// a byte below 0x80 at a character boundary is that ASCII character, a lead byte is never
// below 0x80, and the bytes tested here are all at character boundaries, being preceded
// only by ASCII. Line-end bytes never occur inside a multi-byte character, and a byte-order
// mark or any non-ASCII character at the start of a line makes it a code line either way.
//
// Members run to hundreds of megabytes, so the lines that lie wholly inside a block are
// classified straight from the block, 64 bytes at a time (line_bits.h); only a line cut by
// a block boundary goes through the head kept in the counter.

namespace {

constexpr std::string_view kNameAttribute = "Attribute VB_Name";

// Read size for member files; see TallyFile.
constexpr std::size_t kCountBlockSize = 64 * 1024;

// Whether VB6 rules leave a line out: everything ahead of the name attribute, and every
// module attribute line, the name line included. Sets the code flag at the name line.
bool Vb6LeavesOut(std::string_view head, bool& codeFlag) {
    if (!codeFlag) {
        if (!head.starts_with(kNameAttribute)) {
            return true;
        }
        codeFlag = true;
    }
    return IsModuleAttributeLine(head);
}

// Under VB6 rules nothing before the name attribute line counts: returns the start of the
// line after it, or runEnd. [line, runEnd) holds complete lines.
const char* SkipToCode(const char* line, const char* runEnd, bool& codeFlag) {
    while (line != runEnd && !codeFlag) {
        const char* lineEnd = line_ends::FindLineEnd(line, runEnd);
        Vb6LeavesOut({line, static_cast<std::size_t>(lineEnd - line)}, codeFlag);
        line = line_ends::PastLineEnd(lineEnd, runEnd);
    }
    return line;
}

// Counts the complete lines of [p, runEnd), p being the start of a line.
template <bool kVb6>
void CountRun(const char* p, const char* runEnd, bool& codeFlag, LineTally& tally) {
    if constexpr (kVb6) {
        p = SkipToCode(p, runEnd, codeFlag);
    }
    if (p == runEnd) {
        return;
    }
    const line_bits::LineBits bits = line_bits::ClassifyRun<kVb6>(p, runEnd);
    tally.code += bits.Lines() - bits.Blanks() - bits.Comments();
    tally.comment += bits.Comments();
    tally.blank += bits.Blanks();
}

}  // namespace

void LineCounter::Feed(std::string_view block) {
    const char* const end = block.data() + block.size();
    const char* p = crLf_.Resume(block.data(), end);
    // Keeps what the tests need of a line that the block does not finish.
    const auto extendOpenLine = [this](const char* from, const char* to) {
        if (from == to) {
            return;
        }
        lineOpen_ = true;
        const std::size_t take = std::min<std::size_t>(kHeadSize - headLength_, to - from);
        std::memcpy(head_ + headLength_, from, take);
        headLength_ += take;
        lead_.Take({from, static_cast<std::size_t>(to - from)});
    };
    if (lineOpen_) {
        const char* lineEnd = line_ends::FindLineEnd(p, end);
        extendOpenLine(p, lineEnd);
        if (lineEnd == end) {
            return;
        }
        EndLine();
        p = crLf_.PastLineEnd(lineEnd, end);
    }
    // Every line up to the last line end in the block is whole.
    const char* lastEnd = line_ends::FindLastLineEnd(p, end);
    const char* rest = lastEnd == end ? p : crLf_.PastLineEnd(lastEnd, end);
    if (vb6_) {
        CountRun<true>(p, rest, codeFlag_, tally_);
    } else {
        CountRun<false>(p, rest, codeFlag_, tally_);
    }
    extendOpenLine(rest, end);
}

LineTally LineCounter::Finish() {
    if (lineOpen_) {
        EndLine();
    }
    return tally_;
}

void LineCounter::EndLine() {
    if (!vb6_ || !Vb6LeavesOut({head_, headLength_}, codeFlag_)) {
        tally_.Add(lead_.Class());
    }
    lineOpen_ = false;
    lead_ = {};
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

FileTally TallySource(ByteSource& source, SourceKind kind) {
    LineCounter counter(kind);
    // Small enough to stay in the processor's cache between the copy out of the page cache
    // and the scan, and on the stack, so counting many members allocates nothing.
    char buffer[kCountBlockSize];
    while (const std::size_t got = source.Read(buffer, sizeof buffer)) {
        counter.Feed({buffer, got});
    }
    FileTally result;
    result.problem = source.Problem();
    // A file that fails half-way counts nothing rather than a part that looks complete.
    if (result.problem.error == FileError::None) {
        result.tally = counter.Finish();
    }
    return result;
}

FileTally TallyFile(const std::string& path, SourceKind kind) {
    InputFile file = InputFile::Open(path);
    if (!file.IsOpen()) {
        return {{}, file.Problem()};
    }
    return TallySource(file, kind);
}

std::int64_t CountVb6File(const std::string& path, bool skipBlankLines, bool skipCommentLines) {
    return TallyFile(path, SourceKind::Vb6).tally.Counted(skipBlankLines, skipCommentLines);
}

std::int64_t CountVbNetFile(const std::string& path, bool skipBlankLines, bool skipCommentLines) {
    return TallyFile(path, SourceKind::VbNet).tally.Counted(skipBlankLines, skipCommentLines);
}

}  // namespace tallix
