#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tallix {

// What makes a file itself, however it is reached: through another folder's relative path,
// in another letter case, or by another hard link. Device and inode on POSIX; volume serial
// number and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at a UTF-8 path (links followed), or nothing when there is no
// file to ask.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

}  // namespace tallix
