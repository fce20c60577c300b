#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_decoding.h"

namespace tallix {

// Cuts a byte stream, fed in blocks of any size, into decoded text lines. A line ends at
// CR LF, CR or LF and the terminator is not part of it; a stream that ends with a line end
// has no empty line after it. Line ends are found on bytes: neither code page 936 (with its
// four-byte extension) nor UTF-8 ever uses 0x0A or 0x0D inside a multi-byte character.
class TextLineReader {
public:
    using LineHandler = std::function<void(std::string_view line)>;

    explicit TextLineReader(LineHandler onLine) : onLine_(std::move(onLine)) {}

    void Feed(std::string_view block);
    void Finish();

private:
    void EmitLine();

    LineHandler onLine_;
    std::string pending_;
    bool afterCr_ = false;
    bool encodingKnown_ = false;
    TextEncoding encoding_ = TextEncoding::Ansi;
};

// Splits a whole buffer; convenient for small inputs and tests.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Removes leading and trailing spaces (U+0020) only.
std::string_view TrimSpaces(std::string_view text);

}  // namespace tallix
