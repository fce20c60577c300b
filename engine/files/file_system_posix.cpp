// POSIX side of the file system: a file system whose names are case-sensitive while the
// projects we read were written on Windows.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "engine/files/file_system.h"
#include "engine/files/name_matching.h"

namespace tallix {

namespace {

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

bool HoldsNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

enum class Kind { Missing, File, Directory, Other };

Kind KindOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || HoldsNul(path) || ::stat(path.c_str(), &info) != 0) {
        return Kind::Missing;
    }
    if (S_ISREG(info.st_mode)) {
        return Kind::File;
    }
    if (S_ISDIR(info.st_mode)) {
        return Kind::Directory;
    }
    return Kind::Other;
}

std::vector<std::string> ListDirectory(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

// The folder part ("" or ending in "/") and the last component of a path.
std::pair<std::string, std::string> SplitLast(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {"", path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The system's text for an error. strerror_r comes in a GNU form, which returns the text, and
// an XSI form, which fills the buffer; either is safe on the threads that count members,
// where strerror is not.
[[maybe_unused]] std::string ReasonText(const char* text, const char*) {
    return text;
}
[[maybe_unused]] std::string ReasonText(int, const char* buffer) {
    return buffer;
}
std::string SystemReason(int error) {
    char buffer[256] = "";
    return ReasonText(strerror_r(error, buffer, sizeof buffer), buffer);
}

// Every system call fails on a path this long, whatever it names.
bool TooLong(const std::string& path) {
    return path.size() >= PATH_MAX;
}

// The index of a folder ("" or ending in "/"), read on first use.
const FolderIndex& IndexOf(const std::string& folder, FolderCache& cache) {
    const auto known = cache.indexes.find(folder);
    if (known != cache.indexes.end()) {
        return known->second;
    }
    return cache.indexes.try_emplace(folder, ListDirectory(folder)).first->second;
}

// The entry of a folder on disk that `part` names: `part` itself when it has the wanted kind
// (unless the caller knows it is missing), otherwise the first entry in byte order that
// matches it without regard to case and has that kind. "", "." and ".." are only taken as
// they are.
std::optional<std::string> FindEntry(const std::string& folder, const std::string& part,
                                     Kind wanted, FolderCache& cache, bool exactMissing) {
    std::string exact = folder + part;
    if (!exactMissing && KindOf(exact) == wanted) {
        return exact;
    }
    if (part.empty() || part == "." || part == "..") {
        return std::nullopt;
    }
    for (const std::string_view name : IndexOf(folder, cache).Matches(part)) {
        std::string entry = folder + std::string(name);
        if (KindOf(entry) == wanted) {
            return entry;
        }
    }
    return std::nullopt;
}

// Where a folder named by a path ("" or ending in "/") is on disk, component by component,
// each one a folder; the same folder named again is not looked up again.
std::optional<std::string> ResolveFolder(const std::string& folder, FolderCache& cache) {
    const auto known = cache.folders.find(folder);
    if (known != cache.folders.end()) {
        return known->second;
    }
    std::optional<std::string> resolved(folder.starts_with('/') ? "/" : "");
    for (std::size_t start = resolved->size(); resolved && start < folder.size();) {
        const auto slash = folder.find('/', start);
        resolved = FindEntry(*resolved, folder.substr(start, slash - start), Kind::Directory, cache,
                             false);
        if (resolved) {
            *resolved += '/';
        }
        start = slash + 1;
    }
    cache.folders.emplace(folder, resolved);
    return resolved;
}

// The file a path names, taken exactly when it exists, otherwise found without regard to
// the letter case of its components.
std::optional<std::string> ResolveFile(const std::string& path, FolderCache& cache) {
    if (HoldsNul(path) || TooLong(path)) {
        return std::nullopt;
    }
    const auto [folder, name] = SplitLast(path);
    // Once a folder has been listed, its listing tells whether the exact name is there, which
    // spares each name written in another case a look-up that can only fail.
    if (const auto listed = cache.indexes.find(folder); listed != cache.indexes.end()) {
        const auto matches = listed->second.Matches(name);
        const bool exactListed = std::find(matches.begin(), matches.end(), name) != matches.end();
        return FindEntry(folder, name, Kind::File, cache, !exactListed);
    }
    if (KindOf(path) == Kind::File) {
        return path;
    }
    const auto resolved = ResolveFolder(folder, cache);
    if (!resolved) {
        return std::nullopt;
    }
    return FindEntry(*resolved, name, Kind::File, cache, *resolved == folder);
}

bool IsHidden(std::string_view name) {
    return name.starts_with('.');
}

}  // namespace

std::string SystemErrorText(const std::error_code& error) {
    return error.category() == std::generic_category() || error.category() == std::system_category()
               ? SystemReason(error.value())
               : error.message();
}

bool IsHiddenFile(const std::string&, std::string_view name) {
    return IsHidden(name);
}

bool FileExists(const std::string& path) {
    auto [folder, name] = SplitLast(path);
    if (name.empty() || HoldsNul(path) || TooLong(path)) {
        return false;
    }
    FolderCache cache;
    if (!HasWildcard(name)) {
        const auto found = ResolveFile(path, cache);
        return found && !IsHidden(SplitLast(*found).second);
    }
    const auto directory = ResolveFolder(folder, cache);
    if (!directory) {
        return false;
    }
    for (const auto& entry : ListDirectory(*directory)) {
        if (!IsHidden(entry) && WildcardMatch(name, entry) &&
            KindOf(*directory + entry) == Kind::File) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> LocateFile(const std::string& path) {
    FolderCache cache;
    return ResolveFile(path, cache);
}

std::optional<std::string> FileLocator::Locate(const std::string& path) {
    return ResolveFile(path, cache_);
}

std::string ProjectFolder(const std::string& projectPath) {
    return SplitLast(projectPath).first;
}

std::string MemberPath(const std::string& folder, const std::string& memberName) {
    // A name from the root is a path of its own, not one below the project's folder.
    std::string path = memberName.starts_with('/') ? memberName : folder + memberName;
    if (memberName.starts_with('/')) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(folder.size()), path.end(), '\\', '/');
    return path;
}

InputFile InputFile::Open(const std::string& path) {
    InputFile file;
    // Non-blocking, so that a FIFO or a device named as a member cannot hang the run; the
    // file type is checked before anything is read.
    const bool named = !path.empty() && !HoldsNul(path);
    const int fd = named ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0) {
        const int error = named ? errno : ENOENT;
        file.problem_ = {
            error == ENOENT || error == ENOTDIR ? FileError::Missing : FileError::Unreadable,
            SystemReason(error)};
        return file;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        file.problem_ = {FileError::NotAFile, ""};
        return file;
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    file.handle_ = fd;
    return file;
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    if (!IsOpen()) {
        return 0;
    }
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        // Reads of a regular file block whatever O_NONBLOCK says on most file systems; where
        // one does not, the flag is dropped once and the read made again.
        if (error == EAGAIN) {
            const int fd = static_cast<int>(handle_);
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags >= 0 && (flags & O_NONBLOCK) &&
                ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
                continue;
            }
        }
        problem_ = {FileError::Unreadable, SystemReason(error)};
        return 0;
    }
}

bool InputFile::Rewind() {
    return IsOpen() && ::lseek(static_cast<int>(handle_), 0, SEEK_SET) == 0;
}

std::optional<FileIdentity> InputFile::Identity() const {
    struct stat info {};
    if (!IsOpen() || ::fstat(static_cast<int>(handle_), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

void InputFile::Close() noexcept {
    if (IsOpen()) {
        ::close(static_cast<int>(std::exchange(handle_, kClosed)));
    }
}

}  // namespace tallix
