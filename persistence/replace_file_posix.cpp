// Replacing a file on POSIX: a temporary file in the same folder, flushed to disk, then
// renamed over the target, which is atomic within one file system.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "persistence/report_writer.h"

namespace tallix {

namespace {

std::optional<std::string> SystemError(int error) {
    return std::string(std::strerror(error));
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Unlike mkstemp, which always gives 0600, this creates the file with 0666 less the umask.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& bytes) {
    if (path.empty()) return SystemError(ENOENT);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return SystemError(EISDIR);
        if (!S_ISREG(existing.st_mode)) return SystemError(EINVAL);
        // A read-only file stays as it is, even for a user whom permissions do not stop.
        if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
            return SystemError(EACCES);
    }
    std::string temporary;
    const int fd = CreateTemporaryBeside(path, temporary);
    if (fd < 0) return SystemError(errno);
    // A new report gets the user's default permissions (through the umask); a replaced
    // one keeps its own.
    const bool written = WriteAll(fd, bytes) &&
                         (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) &&
                         ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.c_str());
        return SystemError(written ? errno : writeError);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return SystemError(error);
    }
    return std::nullopt;
}

}  // namespace tallix
