// Windows side of the code-page conversions: the ANSI code page and UTF-16 through the
// Win32 conversion functions.

#include <windows.h>

#include <string>

#include "engine/text/codepage.h"
#include "engine/text/wide_text.h"

namespace tallix {

namespace {
std::string WideToCodePage(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const bool utf8 = codePage == CP_UTF8;
    const char* fallback = utf8 ? nullptr : "?";
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size =
        ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, fallback, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), size, fallback,
                          nullptr);
    return out;
}

std::wstring CodePageToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, out.data(), size);
    return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    return CodePageToWide(utf8, CP_UTF8);
}

std::string WideToUtf8(const std::wstring& wide) {
    return WideToCodePage(wide, CP_UTF8);
}

std::string AnsiToUtf8(std::string_view ansi) {
    // Whole text first; only text with bytes that form no character is taken apart, one
    // character at a time, so that each such byte becomes U+FFFD as on every platform.
    const int length = static_cast<int>(ansi.size());
    if (ansi.empty() ||
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0) > 0) {
        return WideToUtf8(CodePageToWide(ansi, CP_ACP));
    }
    // A lead byte and a trail byte that the table leaves unassigned are still one character:
    // one U+FFFD for the pair, so that a backslash as the second byte is never set free.
    std::wstring wide;
    while (!ansi.empty()) {
        const bool pair = ansi.size() > 1 &&
                          ::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(ansi[0])) &&
                          IsTrailByte(static_cast<unsigned char>(ansi[1]));
        const std::string_view character = ansi.substr(0, pair ? 2 : 1);
        wchar_t decoded[2];
        const int got = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, character.data(),
                                              static_cast<int>(character.size()), decoded, 2);
        if (got > 0) {
            wide.append(decoded, static_cast<std::size_t>(got));
        } else {
            wide += L'\xFFFD';
        }
        ansi.remove_prefix(character.size());
    }
    return WideToUtf8(wide);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    // Code page 936 holds no character beyond the basic plane; each such character (a
    // surrogate pair here) becomes one "?", not two. No best-fit look-alikes either: a
    // character the code page lacks is shown as missing, not as another one.
    std::wstring wide = Utf8ToWide(utf8);
    std::wstring single;
    single.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
                          wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        single += pair ? L'?' : wide[i];
        i += pair ? 1 : 0;
    }
    return WideToCodePage(single, CP_ACP);
}

}  // namespace tallix
