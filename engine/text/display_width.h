#pragma once

#include <cstddef>
#include <string_view>

namespace tallix {

// How many columns characters take where text is laid out in a monospaced grid: a terminal
// (the command line's table) or a printed listing.

// The code point that starts at utf8[at], and in `length` the bytes it takes. A byte that
// does not start a sequence the text has room for is taken alone, as its own value.
char32_t CodePointAt(std::string_view utf8, std::size_t at, std::size_t& length);

// East Asian wide and full-width characters: two columns of a terminal.
bool IsWide(char32_t c);

// The characters a Chinese font draws two columns wide: East Asian wide and full-width ones
// and the ambiguous ones (box drawing, circled numbers, "×", Greek and Cyrillic letters...),
// by the Unicode Character Database's EastAsianWidth.txt.
bool IsWideInChineseText(char32_t c);

}  // namespace tallix
