#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallix {

// How the bytes of a text file are to be read. Members and VB6 projects are ANSI (code page
// 936) unless they start with the UTF-8 byte-order mark; project files of the other kinds
// say their encoding in other ways (EncodingSniffer). Windows-1252 stands for ISO-8859-1 as
// well, as web browsers read it.
enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be, Windows1252 };

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-8 when the bytes start with its byte-order mark, otherwise ANSI.
TextEncoding DetectEncoding(std::string_view firstBytes);

// The encoding a byte-order mark at the start names (UTF-8, UTF-16 either way), if any.
std::optional<TextEncoding> EncodingOfMark(std::string_view firstBytes);

// Decodes to UTF-8. Bytes that do not form a character become U+FFFD, one per byte (one
// per unit in UTF-16, where an odd last byte and a surrogate without its partner are
// replaced too), so the result never depends on what follows a broken sequence. The
// byte-order mark is kept.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// Whether every byte is below 0x80: text that the ANSI code page and UTF-8 leave as it is,
// which most lines of source are, so they need no conversion.
bool IsAscii(std::string_view bytes);

// Decodes text that arrives in blocks of any size exactly as DecodeText decodes it whole:
// a character that a block cuts is held back until the next block completes it.
class StreamDecoder {
public:
    explicit StreamDecoder(TextEncoding encoding) : encoding_(encoding) {}

    // Appends the text of every character the bytes complete.
    void Feed(std::string_view bytes, std::string& out);
    // Appends what is still held back, an incomplete character as U+FFFD.
    void Finish(std::string& out);

    TextEncoding Encoding() const { return encoding_; }

private:
    TextEncoding encoding_;
    std::string held_;
};

// Appends a character, below U+110000 and no surrogate, as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Replaces every ill-formed UTF-8 sequence with U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

// Length of the well-formed UTF-8 sequence at the start of s; 0 when it is ill-formed, and
// also when s ends part-way through a sequence that is well-formed so far (see
// IsUtf8PrefixCut).
std::size_t Utf8SequenceLength(std::string_view s);

// Whether s, which starts a sequence, ends before its last byte while every byte so far
// fits: more bytes may yet make it whole.
bool IsUtf8PrefixCut(std::string_view s);

}  // namespace tallix
