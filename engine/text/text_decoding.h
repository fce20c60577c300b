#pragma once

#include <string>
#include <string_view>

namespace tallix {

// How the bytes of a text file are to be read. Files are ANSI (code page 936) unless they
// start with the UTF-8 byte-order mark.
enum class TextEncoding { Ansi, Utf8 };

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

TextEncoding DetectEncoding(std::string_view firstBytes);

// Decodes to UTF-8. Bytes that do not form a character become U+FFFD, one per byte, so the
// result never depends on what follows a broken sequence. The byte-order mark is kept.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// Replaces every ill-formed UTF-8 sequence with U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

}  // namespace tallix
