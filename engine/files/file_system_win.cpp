// Windows side of the platform layer: the ANSI code page through the Win32 conversion
// functions, the directory look-up of FindFirstFileW, and paths opened through the
// wide-character API so that Chinese names work whatever the code page.

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "engine/files/file_system.h"
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

constexpr DWORD kNotNormal =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The wide-character API ends a name at its first NUL; such a path names no file at all.
bool HoldsNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
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

bool FileExists(const std::string& path) {
    // FindFirstFileW matches "*" and "?" and ignores letter case, like the look-up the
    // program has always made; a trailing separator names no file.
    if (path.empty() || IsSeparator(path.back()) || HoldsNul(path)) {
        return false;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(Utf8ToWide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool exists = false;
    do {
        exists = (found.dwFileAttributes & kNotNormal) == 0;
    } while (!exists && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return exists;
}

std::optional<std::string> LocateFile(const std::string& path) {
    // Windows file systems ignore letter case already; wildcards name no file to open.
    if (path.find_first_of("*?") != std::string::npos || HoldsNul(path)) {
        return std::nullopt;
    }
    const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> FileLocator::Locate(const std::string& path) {
    return LocateFile(path);
}

std::string ProjectFolder(const std::string& projectPath) {
    // The path is UTF-8, so a backslash byte is always a backslash character. Windows
    // takes "/" as a separator too, and so does the cut.
    const auto separator = projectPath.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : projectPath.substr(0, separator + 1);
}

std::string MemberPath(const std::string& folder, const std::string& memberName) {
    return folder + memberName;
}

InputFile InputFile::Open(const std::string& path) {
    InputFile file;
    if (HoldsNul(path)) {
        file.problem_ = {FileError::Missing, "error " + std::to_string(ERROR_INVALID_NAME)};
        return file;
    }
    const std::wstring wide = Utf8ToWide(path);
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.problem_ = {FileError::NotAFile, ""};
        return file;
    }
    HANDLE handle =
        path.empty() ? INVALID_HANDLE_VALUE
                     : ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = path.empty() ? ERROR_FILE_NOT_FOUND : ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                             error == ERROR_INVALID_NAME;
        file.problem_ = {missing ? FileError::Missing : FileError::Unreadable,
                         "error " + std::to_string(error)};
        return file;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        file.problem_ = {FileError::NotAFile, ""};
        return file;
    }
    file.handle_ = reinterpret_cast<Handle>(handle);
    return file;
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    if (!IsOpen()) {
        return 0;
    }
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(size > 0x40000000 ? 0x40000000 : size);
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
        problem_ = {FileError::Unreadable, "error " + std::to_string(::GetLastError())};
        return 0;
    }
    return got;
}

std::optional<FileIdentity> InputFile::Identity() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IsOpen() || !::GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

void InputFile::Close() noexcept {
    if (IsOpen()) {
        ::CloseHandle(reinterpret_cast<HANDLE>(std::exchange(handle_, kClosed)));
    }
}

}  // namespace tallix
