// Windows side of the file system: the directory look-up of FindFirstFileW, and paths opened
// through the wide-character API so that Chinese names work whatever the code page.

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "engine/files/file_system.h"
#include "engine/text/wide_text.h"

namespace tallix {

namespace {

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

std::string SystemErrorText(const std::error_code& error) {
    return error.message();
}

bool IsHiddenFile(const std::string& path, std::string_view) {
    const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
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
    // A name with a drive (D:\Lib\x.bas) or a share (\\server\x.bas) is a path of its own,
    // not one below the project's folder.
    const bool drive = memberName.size() >= 2 && memberName[1] == ':';
    const bool share =
        memberName.size() >= 2 && IsSeparator(memberName[0]) && IsSeparator(memberName[1]);
    return drive || share ? memberName : folder + memberName;
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

bool InputFile::Rewind() {
    LARGE_INTEGER start{};
    return IsOpen() &&
           ::SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), start, nullptr, FILE_BEGIN);
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
