#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallix {

// Letter case as Windows ignores it in file names, beyond ASCII too: Unicode simple case
// folding, one character to one ("Ф" to "ф", "Ｂ" to "ｂ", "K" (Kelvin sign) to "k").
char32_t FoldCase(char32_t c);

// The characters of UTF-8 text, each folded. A byte that starts no well-formed character
// stands for itself, as a value above every character, so it matches only the same byte.
std::u32string FoldedCharacters(std::string_view utf8);

// Whether two names are the same without regard to letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// A hash of the folded characters: names equal without regard to case hash alike.
std::uint64_t FoldedHash(std::string_view utf8);

}  // namespace tallix
