// Replacing a file on Windows: a temporary file in the same folder, flushed, then moved over
// the target with MoveFileExW, which refuses to replace a read-only file.

#include <windows.h>

#include <string>

#include "engine/text/wide_text.h"
#include "persistence/report_writer.h"

namespace tallix {

namespace {

std::optional<std::string> SystemError(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = "error " + std::to_string(error);
    if (text != nullptr) {
        std::wstring wide(text);
        ::LocalFree(text);
        while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n')) {
            wide.pop_back();
        }
        reason = WideToUtf8(wide);
    }
    return reason;
}

}  // namespace

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& bytes) {
    if (path.empty()) {
        return SystemError(ERROR_PATH_NOT_FOUND);
    }
    const std::wstring target = Utf8ToWide(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return SystemError(ERROR_ACCESS_DENIED);
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            return SystemError(ERROR_ACCESS_DENIED);
        }
    }
    const std::wstring temporary = target + L".tmp~";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return SystemError(::GetLastError());
    }
    DWORD wrote = 0;
    const bool written =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
        wrote == bytes.size() && ::FlushFileBuffers(file);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(file);
    if (!written) {
        ::DeleteFileW(temporary.c_str());
        return SystemError(writeError);
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return SystemError(error);
    }
    return std::nullopt;
}

}  // namespace tallix
