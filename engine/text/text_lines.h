#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/line_ends.h"
#include "engine/text/text_decoding.h"

namespace tallix {

// Cuts a byte stream, fed in blocks of any size, into decoded text lines. A line ends at
// CR LF, CR or LF and the terminator is not part of it; a stream that ends with a line end
// has no empty line after it. Line ends are found on bytes: neither code page 936 (with its
// four-byte extension) nor UTF-8 nor Windows-1252 ever uses 0x0A or 0x0D inside a
// multi-byte character; UTF-16 is made UTF-8 first.
//
// Memory stays bounded whatever the stream: a line longer than kMaxLineBytes is cut there
// and ends in kCutMark instead of its rest. The longest path Windows opens is 32,767 UTF-16
// units, each at most four bytes in code page 936 or UTF-8, so a longer line names no file
// that can be opened; the mark, a NUL between quotes, keeps it so. Any name taken from the
// end of a cut line holds the NUL, and a quoted name runs into the mark's quotes.
class TextLineReader {
public:
    using LineHandler = std::function<void(std::string_view line)>;

    static constexpr std::size_t kMaxLineBytes = 160 * 1024;
    static constexpr std::string_view kCutMark{"\"\0\"", 3};

    // The first line decides the encoding: UTF-8 after its byte-order mark, else ANSI.
    explicit TextLineReader(LineHandler onLine) : onLine_(std::move(onLine)) {}
    // Text in an encoding already known.
    TextLineReader(LineHandler onLine, TextEncoding encoding);

    void Feed(std::string_view block);
    void Finish();

private:
    void FeedBytes(std::string_view block);
    void Keep(const char* from, const char* to);
    void EmitWhole(std::string_view bytes);
    void EmitKept();
    void Emit(std::string_view bytes, bool cut);

    LineHandler onLine_;
    std::string kept_;  // the head of a line that a block did not finish
    bool keptCut_ = false;
    line_ends::CrLfAcrossBlocks crLf_;
    bool encodingKnown_ = false;
    TextEncoding encoding_ = TextEncoding::Ansi;
    // UTF-16 uses line-end bytes inside its characters, so it is made UTF-8 before lines
    // are cut.
    std::optional<StreamDecoder> toUtf8_;
};

// Splits a whole buffer; convenient for small inputs and tests.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Removes leading and trailing spaces (U+0020) only.
std::string_view TrimSpaces(std::string_view text);

}  // namespace tallix
