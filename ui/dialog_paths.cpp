#include "ui/dialog_paths.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "engine/text/text_decoding.h"

namespace tallix {

namespace {

char32_t UpperLetter(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= U'\u00E0' && c <= U'\u00FE' && c != U'\u00F7') ||
        (c >= U'\u03B1' && c <= U'\u03C9' && c != U'\u03C2') ||
        (c >= U'\u0430' && c <= U'\u044F')) {
        return c - 0x20;
    }
    if (c >= U'\uFF41' && c <= U'\uFF5A') {
        return c - 0x20;  // full-width a to z
    }
    if (c >= U'\u0450' && c <= U'\u045F') {
        return c - 0x50;  // Cyrillic ѐ to џ
    }
    if (c == U'\u00FF') {
        return U'\u0178';  // ÿ
    }
    if (c == U'\u03C2') {
        return U'\u03A3';  // final sigma
    }
    return c;
}

// The character starting at text[at] and its length in bytes; length 0 for a byte that does
// not start a well-formed sequence of up to three bytes (the letters above need no more).
std::pair<char32_t, std::size_t> DecodeAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const std::size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
    if (length == 0 || at + length > text.size()) {
        return {0, 0};
    }
    char32_t c = lead & (length == 2 ? 0x1F : 0x0F);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {0, 0};
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : 0x800;
    if (c < least || (c >= 0xD800 && c <= 0xDFFF)) {
        return {0, 0};
    }
    return {c, length};
}

std::filesystem::path Utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

std::string DialogFilter(const std::string& filterName, const std::string& pattern) {
    return filterName + "(" + pattern + ")";
}

std::string StartingFolder(const std::string& initDir) {
    if (initDir.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path path = Utf8Path(initDir);
    if (std::filesystem::is_directory(path, error)) {
        return initDir;
    }
    const std::u8string folder = path.parent_path().u8string();
    return std::string(folder.begin(), folder.end());
}

std::string UpperCase(const std::string& text) {
    std::string upper;
    upper.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto [c, length] = DecodeAt(text, at);
        if (length == 0) {
            upper += text[at++];
            continue;
        }
        AppendUtf8(upper, UpperLetter(c));
        at += length;
    }
    return upper;
}

std::string DepositSavePath(const std::string& path) {
    constexpr std::string_view kExtension = ".pdf";
    const std::size_t lastSeparator = path.find_last_of("/\\");
    const std::string_view name =
        std::string_view(path).substr(lastSeparator == std::string::npos ? 0 : lastSeparator + 1);
    const bool hasIt =
        name.size() > kExtension.size() &&
        std::equal(kExtension.rbegin(), kExtension.rend(), name.rbegin(), [](char wanted, char c) {
            return wanted == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        });
    return hasIt ? path : path + std::string(kExtension);
}

std::string NormaliseSavePath(const std::string& path, const std::string& pattern,
                              FolderCase folders) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    const std::size_t nameStart =
        folders == FolderCase::UpperCased || lastSeparator == std::string::npos ? 0
                                                                                : lastSeparator + 1;
    const std::string result = path.substr(0, nameStart) + UpperCase(path.substr(nameStart));
    const std::size_t patternDot = pattern.find('.');
    const std::string extension =
        patternDot == std::string::npos ? std::string() : UpperCase(pattern.substr(patternDot));
    const std::size_t lastDot = result.rfind('.');
    if (lastDot == std::string::npos || result.substr(lastDot) != extension) {
        return result + extension;
    }
    return result;
}

}  // namespace tallix
