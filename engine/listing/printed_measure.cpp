#include "engine/listing/printed_measure.h"

#include <bit>
#include <cstring>

#include "engine/text/line_ends.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tallix {

namespace {

constexpr std::string_view kNameAttribute = "Attribute VB_Name";
constexpr std::string_view kModuleAttribute = "Attribute VB_";

// The CRs, LFs and tabs among the 64 bytes at p, bit i for p[i].
struct ChunkBits {
    std::uint64_t cr;
    std::uint64_t lf;
    std::uint64_t tabs;
};

ChunkBits Bits(const char* p) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    const auto mask = [](__m128i bytes, __m128i wanted, int i) {
        return std::uint64_t{
                   static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)))}
               << 16 * i;
    };
    ChunkBits bits{0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        bits.cr |= mask(bytes, cr, i);
        bits.lf |= mask(bytes, lf, i);
        bits.tabs |= mask(bytes, tab, i);
    }
    return bits;
#else
    ChunkBits bits{0, 0, 0};
    for (std::size_t i = 0; i < line_ends::kWindow; ++i) {
        bits.cr |= std::uint64_t{p[i] == '\r'} << i;
        bits.lf |= std::uint64_t{p[i] == '\n'} << i;
        bits.tabs |= std::uint64_t{p[i] == '\t'} << i;
    }
    return bits;
#endif
}

// The bits below position `at` of a 64-bit mask.
std::uint64_t Below(int at) {
    return at == 0 ? 0 : ~std::uint64_t{0} >> (64 - at);
}

}  // namespace

bool FitsUnmeasured(std::string_view bytes, const ListingStyle& style) {
    return bytes.size() <= static_cast<std::size_t>(style.columns) &&
           std::memchr(bytes.data(), '\t', bytes.size()) == nullptr;
}

void PrintedLineCounter::Piece(std::string_view bytes, bool endsLine) {
    if (!lineOpen_ && endsLine && FitsUnmeasured(bytes, style_)) {
        ++unmeasured_;
        return;
    }
    lineOpen_ = !endsLine;
    decoder_.Piece(bytes, endsLine);
}

PrintedLineMeasure::PrintedLineMeasure(SourceKind kind, CountOptions options,
                                       const ListingStyle& style)
    : vb6_(kind == SourceKind::Vb6), options_(options), style_(style), counter_(kind) {
}

PrintedLineMeasure::~PrintedLineMeasure() = default;

void PrintedLineMeasure::Feed(std::string_view block) {
    counter_.Feed(block);
    Scan(block.data(), block.data() + block.size());
}

void PrintedLineMeasure::Finish() {
    if (lineOpen_) {
        CloseLine();
    }
    listed_ = counter_.Finish().Counted(options_.skipBlankLines, options_.skipCommentLines);
}

// Visits every line end of the block through masks of 64 bytes at a time, with whether a tab
// stands between it and the line's start. The LF of a CR LF is no line end: the next line
// starts after it, in this chunk, the next or the next block.
void PrintedLineMeasure::Scan(const char* p, const char* end) {
    lineStart_ = p;
    bool tab = tabInLine_;
    for (; static_cast<std::size_t>(end - p) >= line_ends::kWindow; p += line_ends::kWindow) {
        const ChunkBits bits = Bits(p);
        const std::uint64_t crBefore = (bits.cr << 1) | crCarry_;
        crCarry_ = bits.cr >> 63;
        const std::uint64_t pairs = bits.lf & crBefore;
        if ((pairs & 1) != 0 && lineStart_ == p) {
            lineStart_ = p + 1;
        }
        std::uint64_t ends = bits.cr | (bits.lf & ~crBefore);
        std::uint64_t passed = 0;  // bits of the lines already ended in this chunk
        for (; ends != 0; ends &= ends - 1) {
            const int at = std::countr_zero(ends);
            tab = tab || (bits.tabs & Below(at) & ~passed) != 0;
            passed = Below(at) | std::uint64_t{1} << at;
            const char* lineEnd = p + at;
            const bool pairFollows = at < 63 && ((pairs >> (at + 1)) & 1) != 0;
            // Most lines: whole, in the code, short and without a tab. They print once if
            // listed, and the counter counts them.
            if (lineOpen_ || tab || firstLine_ || (vb6_ && !codeFlag_) ||
                lineEnd - lineStart_ > style_.columns) {
                LineEnds(lineEnd, tab);
                tab = false;
            }
            lineStart_ = lineEnd + 1 + (pairFollows ? 1 : 0);
        }
        tab = tab || (bits.tabs & ~passed) != 0;
    }
    for (; p != end; ++p) {
        const bool afterCr = crCarry_ != 0;
        crCarry_ = *p == '\r';
        if (*p == '\t') {
            tab = true;
        } else if (*p == '\n' && afterCr) {
            if (lineStart_ == p) {
                lineStart_ = p + 1;
            }
        } else if (*p == '\r' || *p == '\n') {
            LineEnds(p, tab);
            lineStart_ = p + 1;
            tab = false;
        }
    }
    if (lineStart_ < end) {
        Extend({lineStart_, static_cast<std::size_t>(end - lineStart_)}, tab);
    }
    tabInLine_ = lineOpen_ && tabInLine_;
}

void PrintedLineMeasure::LineEnds(const char* lineEnd, bool tabInLine) {
    const std::string_view line(lineStart_, static_cast<std::size_t>(lineEnd - lineStart_));
    if (lineOpen_) {
        Extend(line, tabInLine);
        CloseLine();
    } else {
        WholeLine(line, tabInLine);
    }
}

void PrintedLineMeasure::WholeLine(std::string_view line, bool tab) {
    if (firstLine_) {
        // The reader sees the byte-order mark and the file's encoding for itself.
        StartReader(true);
        lineReader_->Feed(line);
        EndReader();
        codeFlag_ = vb6_ && line.starts_with(kNameAttribute);
        return;
    }
    if (vb6_ && !codeFlag_) {
        codeFlag_ = line.starts_with(kNameAttribute);
        return;
    }
    if (!tab && line.size() <= static_cast<std::size_t>(style_.columns)) {
        return;
    }
    if (vb6_ && line.starts_with(kModuleAttribute)) {
        return;
    }
    const auto first = line.find_first_not_of(' ');
    const bool listed = first == std::string_view::npos ? !options_.skipBlankLines
                        : line[first] == '\''           ? !options_.skipCommentLines
                                                        : true;
    if (!listed) {
        return;
    }
    if (!tab && IsAscii(line)) {
        // Every ASCII character prints in one column, controls as their mark too.
        const auto columns = static_cast<std::size_t>(style_.columns);
        extra_ += static_cast<std::int64_t>((line.size() + columns - 1) / columns) - 1;
    } else {
        extra_ += PrintedLinesOf(DecodeText(line, encoding_), style_) - 1;
    }
}

void PrintedLineMeasure::Extend(std::string_view bytes, bool tab) {
    lineOpen_ = true;
    tabInLine_ = tabInLine_ || tab;
    if (lineReader_) {
        lineReader_->Feed(bytes);
        return;
    }
    if (skippingLine_) {
        return;
    }
    kept_.append(bytes);
    if (kept_.size() <= CountedLineReader::kMaxPieceBytes) {
        return;
    }
    // Too long to keep: what it is shows in its head, which is kept.
    if (firstLine_) {
        codeFlag_ = vb6_ && kept_.starts_with(kNameAttribute);
        StartReader(true);
    } else if (vb6_ && !codeFlag_) {
        codeFlag_ = kept_.starts_with(kNameAttribute);
        skippingLine_ = true;
    } else if (vb6_ && kept_.starts_with(kModuleAttribute)) {
        skippingLine_ = true;
    } else {
        StartReader(false);
    }
    if (lineReader_) {
        lineReader_->Feed(kept_);
    }
    kept_.clear();
}

void PrintedLineMeasure::CloseLine() {
    if (lineReader_) {
        EndReader();
    } else if (!skippingLine_) {
        WholeLine(kept_, tabInLine_);
    }
    firstLine_ = false;
    lineOpen_ = false;
    tabInLine_ = false;
    skippingLine_ = false;
    kept_.clear();
}

void PrintedLineMeasure::StartReader(bool fromFileStart) {
    lineCounter_ = std::make_unique<PrintedLineCounter>(style_);
    // A line past the start is only a blank, comment or code line by now: VB.NET's rules.
    lineReader_ = std::make_unique<CountedLineReader>(
        fromFileStart && vb6_ ? SourceKind::Vb6 : SourceKind::VbNet, options_, *lineCounter_);
    if (!fromFileStart) {
        lineReader_->AssumeEncoding(encoding_);
    }
    readerFromStart_ = fromFileStart;
}

void PrintedLineMeasure::EndReader() {
    lineReader_->Finish();
    extra_ += lineCounter_->Printed() - lineReader_->Listed();
    if (readerFromStart_) {
        encoding_ = lineReader_->Encoding();
        firstLine_ = false;
    }
    lineReader_.reset();
    lineCounter_.reset();
}

}  // namespace tallix
