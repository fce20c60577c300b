#include "engine/listing/decoded_lines.h"

#include "engine/text/codepage.h"

namespace tallix {

namespace {

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsContinuationByte(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

std::size_t WholeCharacters(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        // A cut before a byte that continues no sequence splits no well-formed character, and
        // an ill-formed one becomes U+FFFD byte by byte either way. The last character, which
        // starts at most three bytes before the end, stays for the rest: it may go on there.
        for (std::size_t back = 1; back <= 4 && back <= bytes.size(); ++back) {
            const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
            if (!IsContinuationByte(byte)) {
                return byte >= 0x80 ? bytes.size() - back : bytes.size();
            }
        }
        return bytes.size();
    }
    // Code page 936 pairs a lead byte with the trail byte after it, whether or not its table
    // holds the pair; any other byte is a character of its own.
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x81 || byte == 0xFF) {
            ++at;
        } else if (at + 1 == bytes.size()) {
            break;  // a lead byte whose trail byte may come next
        } else {
            at += IsTrailByte(static_cast<unsigned char>(bytes[at + 1])) ? 2 : 1;
        }
    }
    return at;
}

void LineDecoder::Piece(std::string_view bytes, bool endsLine) {
    if (kept_.empty() && endsLine) {
        Pass(bytes, true);
        return;
    }
    kept_.append(bytes);
    if (endsLine) {
        Pass(kept_, true);
        kept_.clear();
    } else if (kept_.size() >= CountedLineReader::kMaxPieceBytes) {
        const std::size_t whole = WholeCharacters(kept_, encoding_);
        Pass(std::string_view(kept_).substr(0, whole), false);
        kept_.erase(0, whole);
    }
}

void LineDecoder::Pass(std::string_view bytes, bool endsLine) {
    if (IsAscii(bytes)) {
        sink_.Text(bytes, endsLine);
    } else {
        sink_.Text(DecodeText(bytes, encoding_), endsLine);
    }
}

}  // namespace tallix
