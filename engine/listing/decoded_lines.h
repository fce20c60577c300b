#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/listing/counted_lines.h"
#include "engine/text/text_decoding.h"

namespace tallix {

// Takes listed lines as UTF-8 text: each line in one or more pieces of whole characters, the
// last of which ends it.
class TextLineSink {
public:
    virtual ~TextLineSink() = default;
    virtual void Text(std::string_view utf8, bool endsLine) = 0;
};

// Decodes the pieces of each line as counting decodes a file (DecodeText), however the
// pieces cut it: a line comes on whole when it came in one piece or is short, in pieces of
// whole characters when it is long.
class LineDecoder : public RawLineSink {
public:
    explicit LineDecoder(TextLineSink& sink) : sink_(sink) {}

    void Begin(TextEncoding encoding) override { encoding_ = encoding; }
    void Piece(std::string_view bytes, bool endsLine) override;

private:
    void Pass(std::string_view bytes, bool endsLine);

    TextEncoding encoding_ = TextEncoding::Ansi;
    TextLineSink& sink_;
    std::string kept_;                     // the part of a line not yet decoded
    std::optional<StreamDecoder> stream_;  // for a line that comes in pieces
};

}  // namespace tallix
