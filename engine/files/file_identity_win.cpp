#include <windows.h>

#include "engine/files/file_identity.h"
#include "engine/text/wide_text.h"

namespace tallix {

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    // No access rights are needed to read a file's information, and backup semantics let
    // the call open folders as well.
    HANDLE handle = ::CreateFileW(Utf8ToWide(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!ok) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace tallix
