#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/counting/line_counter.h"
#include "engine/counting/member_count.h"
#include "engine/listing/counted_lines.h"
#include "engine/listing/decoded_lines.h"
#include "engine/listing/listing_layout.h"
#include "engine/projects/source_kind.h"
#include "engine/text/text_decoding.h"

namespace tallix {

// A line of no more bytes than columns and without a tab prints on one line: no character
// prints wider than its bytes. Only the other lines need decoding and measuring.
bool FitsUnmeasured(std::string_view bytes, const ListingStyle& style);

// Counts the printed lines of the lines a reader hands it, decoding only those that do not
// fit unmeasured.
class PrintedLineCounter : public RawLineSink {
public:
    explicit PrintedLineCounter(const ListingStyle& style) : style_(style), wrapper_(style) {}

    void Begin(TextEncoding encoding) override { decoder_.Begin(encoding); }
    void Piece(std::string_view bytes, bool endsLine) override;

    std::int64_t Printed() const { return unmeasured_ + wrapper_.Printed(); }

private:
    ListingStyle style_;
    LineWrapper wrapper_;
    LineDecoder decoder_{wrapper_};
    bool lineOpen_ = false;
    std::int64_t unmeasured_ = 0;
};

// How many lines a member lists and how many printed lines they take, found at counting
// speed: the line counter counts the listed lines, and only the lines that may print on more
// than one (more bytes than columns, or a tab) are classified and measured one by one; every
// other listed line prints on exactly one, as no character prints wider than its bytes. The
// first line, which may hold the byte-order mark, and a line too long to keep are measured by
// a reader of their own. Fed in blocks of any size; memory stays the same.
class PrintedLineMeasure {
public:
    PrintedLineMeasure(SourceKind kind, CountOptions options, const ListingStyle& style);
    ~PrintedLineMeasure();
    PrintedLineMeasure(const PrintedLineMeasure&) = delete;
    PrintedLineMeasure& operator=(const PrintedLineMeasure&) = delete;

    void Feed(std::string_view block);
    void Finish();

    // After Finish.
    std::int64_t Listed() const { return listed_; }
    std::int64_t Printed() const { return listed_ + extra_; }

private:
    void Scan(const char* begin, const char* end);
    void LineEnds(const char* lineEnd, bool tabInLine);
    void WholeLine(std::string_view line, bool tab);
    void Extend(std::string_view bytes, bool tab);
    void CloseLine();
    // Measures a line with a reader of its own; `fromFileStart` for the file's first line.
    void StartReader(bool fromFileStart);
    void EndReader();

    bool vb6_;
    CountOptions options_;
    ListingStyle style_;
    LineCounter counter_;
    std::int64_t listed_ = 0;
    std::int64_t extra_ = 0;  // printed lines beyond one for each listed line

    bool firstLine_ = true;  // the file's first line has not ended yet
    bool codeFlag_ = false;
    TextEncoding encoding_ = TextEncoding::Ansi;

    const char* lineStart_ = nullptr;  // where the line being scanned starts in the block
    bool lineOpen_ = false;            // the line being scanned began in an earlier block
    bool tabInLine_ = false;
    std::uint64_t crCarry_ = 0;  // the last byte scanned was a CR
    std::string kept_;           // the open line's bytes, while it is short enough to keep
    // The open line's own reader once it is too long to keep, and the first line's; a VB6
    // line before the code, or an attribute line, is skipped instead, as it lists nothing.
    std::unique_ptr<PrintedLineCounter> lineCounter_;
    std::unique_ptr<CountedLineReader> lineReader_;
    bool readerFromStart_ = false;
    bool skippingLine_ = false;
};

}  // namespace tallix
