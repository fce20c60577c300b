#pragma once

#include <string>
#include <string_view>

namespace tallix {

// Conversions between the platform's ANSI code page (code page 936 where the platform has
// none) and UTF-8, the engine's own text form. Implemented once per platform.

// Bytes that do not form a character become U+FFFD, one per byte.
std::string AnsiToUtf8(std::string_view ansi);

// Characters the code page cannot hold become "?". Ill-formed UTF-8 is taken as U+FFFD.
std::string Utf8ToAnsi(std::string_view utf8);

// A byte that may follow a lead byte in code page 936. A lead byte and a trail byte are one
// character to Windows even where its table assigns none.
constexpr bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

}  // namespace tallix
