#include "engine/listing/listing_layout.h"

#include "engine/text/display_width.h"
#include "engine/text/text_decoding.h"

namespace tallix {

namespace {

std::string Utf8Of(char32_t c) {
    std::string text;
    AppendUtf8(text, c);
    return text;
}

// Walks printable characters: each tab as the spaces it stands for, each control as the
// mark; `put` takes the character's bytes and its columns. Tab stops count from `column`.
template <typename Put>
void ForEachPrinted(std::string_view utf8, const std::string& mark, int column, Put put) {
    for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) {
        const char32_t c = CodePointAt(utf8, at, length);
        if (c == U'\t') {
            for (int spaces = kTabStop - column % kTabStop; spaces > 0; --spaces) {
                column = put(std::string_view(" "), 1);
            }
        } else if (IsControlCharacter(c)) {
            column = put(std::string_view(mark), 1);
        } else {
            column = put(utf8.substr(at, length), ListingColumns(c));
        }
    }
}

}  // namespace

bool IsControlCharacter(char32_t c) {
    return (c < 0x20 && c != U'\t') || (c >= 0x7F && c <= 0x9F);
}

int ListingColumns(char32_t c) {
    if (c == U'\u20AC' || c == U'\uFFFD') {
        return 1;
    }
    return IsWideInChineseText(c) ? 2 : 1;
}

std::string PrintableText(std::string_view utf8, const ListingStyle& style) {
    std::string printable;
    int column = 0;
    ForEachPrinted(utf8, Utf8Of(style.controlMark), 0, [&](std::string_view bytes, int width) {
        printable += bytes;
        return column += width;
    });
    return printable;
}

int PrintedColumns(std::string_view printable) {
    int columns = 0;
    for (std::size_t at = 0, length = 0; at < printable.size(); at += length) {
        columns += ListingColumns(CodePointAt(printable, at, length));
    }
    return columns;
}

void LineWrapper::Text(std::string_view utf8, bool endsLine) {
    // Most source is printable ASCII: a run of it needs no decoding.
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            Put(utf8.substr(at, 1), 1);
            ++at;
            continue;
        }
        std::size_t length = 0;
        const char32_t c = CodePointAt(utf8, at, length);
        if (c == U'\t') {
            for (int spaces = kTabStop - column_ % kTabStop; spaces > 0; --spaces) {
                Put(" ", 1);
            }
        } else if (IsControlCharacter(c)) {
            Put(Utf8Of(style_.controlMark), 1);
        } else {
            Put(utf8.substr(at, length), ListingColumns(c));
        }
        at += length;
    }
    if (endsLine) {
        EndLine();
    }
}

void LineWrapper::Put(std::string_view character, int width) {
    if (column_ + width > style_.columns) {
        Break();
    }
    if (onLine_) {
        line_ += character;
    }
    column_ += width;
}

void LineWrapper::Break() {
    if (onLine_) {
        line_.append(static_cast<std::size_t>(style_.columns - column_), ' ');
        AppendUtf8(line_, style_.continuationMark);
        onLine_(line_);
        line_.clear();
    }
    ++printed_;
    column_ = 0;
}

void LineWrapper::EndLine() {
    if (onLine_) {
        onLine_(line_);
        line_.clear();
    }
    ++printed_;
    column_ = 0;
}

std::int64_t PrintedLinesOf(std::string_view utf8, const ListingStyle& style) {
    LineWrapper wrapper(style);
    wrapper.Text(utf8, true);
    return wrapper.Printed();
}

}  // namespace tallix
