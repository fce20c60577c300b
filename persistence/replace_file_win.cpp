// Replacing a file on Windows: a temporary file in the same folder, flushed, then moved over
// the target with MoveFileExW, which refuses to replace a read-only file.

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "engine/text/wide_text.h"
#include "persistence/replace_file.h"

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

// Windows always lets a file be made where one may be written, so there is no place for
// the in-place fallback: `noNewFile` changes nothing here.
std::optional<std::string> ReplaceFileContents(const std::string& path, const ContentWriter& write,
                                               WhenNoNewFile) {
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
    DWORD writeError = ERROR_SUCCESS;
    std::optional<std::string> reason = write([&](std::string_view bytes) {
        while (writeError == ERROR_SUCCESS && !bytes.empty()) {
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
            DWORD wrote = 0;
            if (!::WriteFile(file, bytes.data(), size, &wrote, nullptr) || wrote == 0) {
                writeError =
                    ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_WRITE_FAULT;
            }
            bytes.remove_prefix(wrote);
        }
        return writeError == ERROR_SUCCESS;
    });
    if (writeError == ERROR_SUCCESS && !reason && !::FlushFileBuffers(file)) {
        writeError = ::GetLastError();
    }
    ::CloseHandle(file);
    if (writeError != ERROR_SUCCESS) {
        reason = SystemError(writeError);
    }
    if (reason) {
        ::DeleteFileW(temporary.c_str());
        return reason;
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return SystemError(error);
    }
    return std::nullopt;
}

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& bytes,
                                               WhenNoNewFile noNewFile) {
    return ReplaceFileContents(
        path,
        [&](const ContentSink& write) -> std::optional<std::string> {
            write(bytes);
            return std::nullopt;
        },
        noNewFile);
}

}  // namespace tallix
