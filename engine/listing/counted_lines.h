#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/counting/member_count.h"
#include "engine/projects/source_kind.h"
#include "engine/text/line_ends.h"
#include "engine/text/text_decoding.h"

namespace tallix {

// Takes the lines a member lists, as the file's bytes: each line in one or more pieces, the
// last of which ends it. A line that a block holds whole comes in one piece straight from
// the block; only a line cut by a block boundary, or longer than kMaxPieceBytes, is cut.
class RawLineSink {
public:
    virtual ~RawLineSink() = default;
    // Once, before the first piece: the encoding of the file's bytes.
    virtual void Begin(TextEncoding) {}
    virtual void Piece(std::string_view bytes, bool endsLine) = 0;
};

// Hands on exactly the lines the line counter counts under the same options: lines end at
// CR, CR LF or a lone LF; VB6 members start at the "Attribute VB_Name" line and leave out
// every line that starts with "Attribute VB_"; a blank line (spaces only) and a comment line
// (first other character "'") go on unless their option leaves them out. The bytes are fed
// in blocks of any size, and memory stays the same whatever a line's length.
//
// The encoding is the file's (its first three bytes decide, as they do for counting); a
// byte-order mark is left out of the first line's bytes, though it still makes that line
// code.
class CountedLineReader {
public:
    static constexpr std::size_t kMaxPieceBytes = 64 * 1024;

    CountedLineReader(SourceKind kind, CountOptions options, RawLineSink& sink)
        : vb6_(kind == SourceKind::Vb6), options_(options), sink_(sink) {}

    // For bytes that do not start a file (a line taken from the middle of one): the file's
    // encoding, known already, with no byte-order mark to look for. Before the first Feed.
    void AssumeEncoding(TextEncoding encoding);

    void Feed(std::string_view block);
    void Finish();

    // Known once three bytes have been fed, or at Finish.
    TextEncoding Encoding() const { return encoding_; }
    // The lines handed on so far.
    std::int64_t Listed() const { return listed_; }

private:
    enum class Verdict { Open, List, Skip };

    void KnowEncoding(std::string_view firstBytes);
    void FeedKnown(std::string_view block);
    void WholeLine(std::string_view line);
    void Extend(const char* from, const char* to);
    void CloseLine();
    Verdict Decide(bool atLineEnd) const;
    void UpdateHead(const char* from, const char* to);
    void Emit(std::string_view bytes, bool endsLine);
    void EmitPending(bool endsLine);

    bool vb6_;
    CountOptions options_;
    RawLineSink& sink_;
    bool codeFlag_ = false;
    std::int64_t listed_ = 0;

    std::string start_;  // the first bytes, until they name the encoding
    bool encodingKnown_ = false;
    TextEncoding encoding_ = TextEncoding::Ansi;
    bool bomToDrop_ = false;

    line_ends::CrLfAcrossBlocks crLf_;
    // The line a block did not finish.
    bool lineOpen_ = false;
    Verdict verdict_ = Verdict::Open;
    std::size_t headLength_ = 0;
    char head_[17] = {};  // "Attribute VB_Name"
    bool nonSpaceSeen_ = false;
    char firstNonSpace_ = 0;
    std::string kept_;              // bytes not yet handed on
    std::uint64_t keptSpaces_ = 0;  // leading spaces not yet handed on, before kept_
};

}  // namespace tallix
