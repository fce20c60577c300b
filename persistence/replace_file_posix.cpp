// Replacing a file on POSIX: a temporary file in the same folder, flushed to disk, then
// renamed over the target, which is atomic within one file system. A symbolic link is
// followed to the file it names, and that file is replaced; the link stays.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "persistence/replace_file.h"

namespace tallix {

namespace {

// As many links as the kernel follows in one look-up before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

std::optional<std::string> SystemError(int error) {
    return std::string(std::strerror(error));
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// The file a path names once symbolic links are followed; it need not exist (a link may
// point at a file yet to be made). Renaming over the link itself would turn it into a plain
// file and leave its target with the old report. 0 in error unless the links loop.
std::string FileBehindLinks(const std::string& path, int& error) {
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code failed;
        const std::filesystem::path target = std::filesystem::read_symlink(current, failed);
        // Not a link, or nothing there: this is the file. Other failures show when it is
        // opened.
        if (failed) {
            return current;
        }
        if (target.is_absolute()) {
            current = target.string();
        } else {
            const std::size_t slash = current.rfind('/');
            current = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                      target.string();
        }
    }
    error = ELOOP;
    return {};
}

// Unlike mkstemp, which always gives 0600, this creates the file with 0666 less the umask.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Runs the writer into fd: false when it or a write failed, with the reason.
bool WriteContent(int fd, const ContentWriter& write, std::optional<std::string>& reason) {
    int writeError = 0;
    const std::optional<std::string> writerReason = write([&](std::string_view bytes) {
        if (writeError != 0) {
            return false;
        }
        if (!WriteAll(fd, bytes)) {
            writeError = errno != 0 ? errno : EIO;
            return false;
        }
        return true;
    });
    if (writeError != 0) {
        reason = SystemError(writeError);
    } else if (writerReason) {
        reason = writerReason;
    }
    return !reason;
}

// Flushes and closes fd after the content went in: false, with the reason, on a failure.
bool Finish(int fd, bool written, std::optional<std::string>& reason) {
    if (written && ::fsync(fd) != 0) {
        reason = SystemError(errno);
        written = false;
    }
    if (::close(fd) != 0 && written) {
        reason = SystemError(errno);
        written = false;
    }
    return written;
}

// Truncates the existing file and writes it. Not all-or-nothing: a failure part-way leaves
// part of the new content, so this is only for a folder that allows nothing better.
std::optional<std::string> OverwriteInPlace(const std::string& path, const ContentWriter& write) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return SystemError(errno);
    }
    std::optional<std::string> reason;
    Finish(fd, WriteContent(fd, write, reason), reason);
    return reason;
}

}  // namespace

std::optional<std::string> ReplaceFileContents(const std::string& path, const ContentWriter& write,
                                               WhenNoNewFile noNewFile) {
    if (path.empty()) {
        return SystemError(ENOENT);
    }
    int linkError = 0;
    const std::string file = FileBehindLinks(path, linkError);
    if (linkError != 0) {
        return SystemError(linkError);
    }
    struct stat existing {};
    const bool exists = ::stat(file.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return SystemError(EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            return SystemError(EINVAL);
        }
        // A read-only file stays as it is, even for a user whom permissions do not stop.
        if ((existing.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0) {
            return SystemError(EACCES);
        }
    }
    std::string temporary;
    const int fd = CreateTemporaryBeside(file, temporary);
    if (fd < 0) {
        const int error = errno;
        // A folder may let the user write a file in it but not make one there (a report
        // made for the user in a shared folder): the file is then written where it is.
        if (exists && (error == EACCES || error == EPERM) &&
            noNewFile == WhenNoNewFile::WriteInPlace) {
            return OverwriteInPlace(file, write);
        }
        return SystemError(error);
    }
    // A new file gets the user's default permissions (through the umask); a replaced one
    // keeps its own.
    std::optional<std::string> reason;
    bool written = WriteContent(fd, write, reason);
    if (written && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        reason = SystemError(errno);
        written = false;
    }
    if (!Finish(fd, written, reason)) {
        ::unlink(temporary.c_str());
        return reason;
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
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
