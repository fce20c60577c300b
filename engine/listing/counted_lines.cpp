#include "engine/listing/counted_lines.h"

#include <algorithm>
#include <cstring>

namespace tallix {

namespace {

constexpr std::string_view kNameAttribute = "Attribute VB_Name";
constexpr std::string_view kModuleAttribute = "Attribute VB_";
constexpr std::size_t kBomSize = 3;

// Leading spaces of a long line are handed on from here rather than kept.
constexpr std::string_view kSpaces =
    "                                                                                "
    "                                                                                ";

}  // namespace

void CountedLineReader::Feed(std::string_view block) {
    if (!encodingKnown_) {
        if (start_.empty() && block.size() >= kBomSize) {
            // The usual start: a first block that names the encoding and keeps its lines whole.
            KnowEncoding(block);
        } else {
            const std::size_t take = std::min(kBomSize - start_.size(), block.size());
            start_.append(block.substr(0, take));
            block.remove_prefix(take);
            if (start_.size() < kBomSize) {
                return;
            }
            KnowEncoding(start_);
            FeedKnown(start_);
        }
    }
    FeedKnown(block);
}

void CountedLineReader::Finish() {
    if (!encodingKnown_) {
        KnowEncoding(start_);
        FeedKnown(start_);
    }
    if (lineOpen_) {
        CloseLine();
    }
}

void CountedLineReader::AssumeEncoding(TextEncoding encoding) {
    encoding_ = encoding;
    encodingKnown_ = true;
    sink_.Begin(encoding_);
}

void CountedLineReader::KnowEncoding(std::string_view firstBytes) {
    encoding_ = DetectEncoding(firstBytes);
    bomToDrop_ = encoding_ == TextEncoding::Utf8;
    encodingKnown_ = true;
    sink_.Begin(encoding_);
}

void CountedLineReader::FeedKnown(std::string_view block) {
    const char* const end = block.data() + block.size();
    const char* p = crLf_.Resume(block.data(), end);
    if (lineOpen_) {
        const char* lineEnd = line_ends::FindLineEnd(p, end);
        Extend(p, lineEnd);
        if (lineEnd == end) {
            return;
        }
        CloseLine();
        p = crLf_.PastLineEnd(lineEnd, end);
    }
    while (p != end) {
        const char* lineEnd = line_ends::FindLineEnd(p, end);
        if (lineEnd == end) {
            lineOpen_ = true;
            Extend(p, end);
            return;
        }
        WholeLine({p, static_cast<std::size_t>(lineEnd - p)});
        p = crLf_.PastLineEnd(lineEnd, end);
    }
}

void CountedLineReader::WholeLine(std::string_view line) {
    bool listed = true;
    if (vb6_) {
        if (!codeFlag_) {
            codeFlag_ = line.starts_with(kNameAttribute);
            listed = false;
        } else {
            listed = !line.starts_with(kModuleAttribute);
        }
    }
    if (listed) {
        const auto first = line.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            listed = !options_.skipBlankLines;
        } else if (line[first] == '\'') {
            listed = !options_.skipCommentLines;
        }
    }
    if (listed) {
        Emit(line, true);
    }
    bomToDrop_ = false;
}

void CountedLineReader::Extend(const char* from, const char* to) {
    UpdateHead(from, to);
    if (verdict_ == Verdict::Skip || from == to) {
        return;
    }
    kept_.append(from, to);
    if (verdict_ == Verdict::Open) {
        verdict_ = Decide(false);
    }
    if (kept_.size() <= kMaxPieceBytes) {
        return;
    }
    if (verdict_ == Verdict::List) {
        EmitPending(false);
    } else if (verdict_ == Verdict::Open) {
        // Still open past a few bytes means nothing but spaces so far: only their number
        // needs keeping.
        keptSpaces_ += kept_.size();
        kept_.clear();
    }
}

void CountedLineReader::CloseLine() {
    if (verdict_ == Verdict::Open) {
        verdict_ = Decide(true);
    }
    if (vb6_ && !codeFlag_) {
        codeFlag_ = std::string_view(head_, headLength_) == kNameAttribute;
    }
    if (verdict_ == Verdict::List) {
        EmitPending(true);
    }
    lineOpen_ = false;
    verdict_ = Verdict::Open;
    headLength_ = 0;
    nonSpaceSeen_ = false;
    kept_.clear();
    keptSpaces_ = 0;
    bomToDrop_ = false;
}

// What the line's start says so far; Open while the rest of the line could still change it.
CountedLineReader::Verdict CountedLineReader::Decide(bool atLineEnd) const {
    if (vb6_) {
        // Up to the name attribute line, and that line itself, nothing is listed.
        if (!codeFlag_) {
            return Verdict::Skip;
        }
        const std::size_t compared = std::min(headLength_, kModuleAttribute.size());
        if (std::string_view(head_, compared) == kModuleAttribute.substr(0, compared)) {
            if (compared == kModuleAttribute.size()) {
                return Verdict::Skip;
            }
            if (!atLineEnd) {
                return Verdict::Open;
            }
        }
    }
    if (!nonSpaceSeen_) {
        if (atLineEnd) {
            return options_.skipBlankLines ? Verdict::Skip : Verdict::List;
        }
        // Blank, comment or code: with neither option on, each of them is listed.
        return options_.skipBlankLines || options_.skipCommentLines ? Verdict::Open : Verdict::List;
    }
    if (firstNonSpace_ == '\'') {
        return options_.skipCommentLines ? Verdict::Skip : Verdict::List;
    }
    return Verdict::List;
}

void CountedLineReader::UpdateHead(const char* from, const char* to) {
    const std::size_t take =
        std::min(sizeof head_ - headLength_, static_cast<std::size_t>(to - from));
    std::memcpy(head_ + headLength_, from, take);
    headLength_ += take;
    if (!nonSpaceSeen_) {
        const char* other = std::find_if(from, to, [](char c) { return c != ' '; });
        if (other != to) {
            nonSpaceSeen_ = true;
            firstNonSpace_ = *other;
        }
    }
}

void CountedLineReader::Emit(std::string_view bytes, bool endsLine) {
    if (bomToDrop_) {
        bytes.remove_prefix(std::min(kBomSize, bytes.size()));
        bomToDrop_ = false;
    }
    sink_.Piece(bytes, endsLine);
    if (endsLine) {
        ++listed_;
    }
}

void CountedLineReader::EmitPending(bool endsLine) {
    for (; keptSpaces_ > 0;) {
        const auto take =
            static_cast<std::size_t>(std::min<std::uint64_t>(keptSpaces_, kSpaces.size()));
        sink_.Piece(kSpaces.substr(0, take), false);
        keptSpaces_ -= take;
    }
    Emit(kept_, endsLine);
    kept_.clear();
}

}  // namespace tallix
