#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/listing/decoded_lines.h"

namespace tallix {

// How a listing is printed: the columns of text on a printed line (a multiple of the tab
// stop, so that a tab never reaches past the last one), and the two marks, each one column
// wide: the one a control character is printed as, and the one that closes a printed line
// whose source line goes on in the next.
struct ListingStyle {
    int columns = 100;
    char32_t controlMark = U'?';
    char32_t continuationMark = U'\\';
};

inline constexpr int kTabStop = 4;

// C0 controls but the tab, DEL and C1 controls: never printed as they are.
bool IsControlCharacter(char32_t c);

// The columns a printed character takes: two for those a Chinese font draws wide, one for
// the rest. "€" and U+FFFD take one: each stands for a single byte of code page 936, so that
// no line prints wider than its bytes.
int ListingColumns(char32_t c);

// The text as a listing prints it on one line: tabs become spaces to the next tab stop,
// control characters the control mark.
std::string PrintableText(std::string_view utf8, const ListingStyle& style);

// The columns PrintableText takes.
int PrintedColumns(std::string_view printable);

// Cuts source lines, each given as UTF-8 in pieces of whole characters, into printed lines
// of at most style.columns columns. A character that does not fit starts the next printed
// line; the line it leaves is filled with spaces to the last column and closed with the
// continuation mark, one column past it. Each printed line goes to the handler as its text
// (tabs and controls as PrintableText prints them); with no handler they are only counted.
class LineWrapper : public TextLineSink {
public:
    using PrintedLineHandler = std::function<void(std::string_view text)>;

    explicit LineWrapper(const ListingStyle& style, PrintedLineHandler onLine = {})
        : style_(style), onLine_(std::move(onLine)) {}

    void Text(std::string_view utf8, bool endsLine) override;

    // Printed lines handed on so far.
    std::int64_t Printed() const { return printed_; }

private:
    void Put(std::string_view character, int width);
    void Break();
    void EndLine();

    ListingStyle style_;
    PrintedLineHandler onLine_;
    std::string line_;
    int column_ = 0;
    std::int64_t printed_ = 0;
};

// How many printed lines a source line takes (UTF-8, whole).
std::int64_t PrintedLinesOf(std::string_view utf8, const ListingStyle& style);

}  // namespace tallix
