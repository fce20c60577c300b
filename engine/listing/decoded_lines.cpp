#include "engine/listing/decoded_lines.h"

namespace tallix {

void LineDecoder::Piece(std::string_view bytes, bool endsLine) {
    if (kept_.empty() && endsLine && !stream_) {
        Pass(bytes, true);
        return;
    }
    kept_.append(bytes);
    if (endsLine && !stream_) {
        Pass(kept_, true);
    } else if (endsLine || kept_.size() >= CountedLineReader::kMaxPieceBytes) {
        // A long line is decoded as it comes, a character a piece cuts held for the next.
        if (!stream_) {
            stream_.emplace(encoding_);
        }
        std::string text;
        stream_->Feed(kept_, text);
        if (endsLine) {
            stream_->Finish(text);
            stream_.reset();
        }
        sink_.Text(text, endsLine);
    } else {
        return;
    }
    kept_.clear();
}

void LineDecoder::Pass(std::string_view bytes, bool endsLine) {
    if (IsAscii(bytes)) {
        sink_.Text(bytes, endsLine);
    } else {
        sink_.Text(DecodeText(bytes, encoding_), endsLine);
    }
}

}  // namespace tallix
