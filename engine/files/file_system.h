#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "engine/files/file_identity.h"
#include "engine/files/name_matching.h"

namespace tallix {

enum class FileError { None, Missing, NotAFile, Unreadable };

// Why a file could not be opened or read, as data; the window and the command line word it.
struct FileProblem {
    FileError error = FileError::None;
    std::string detail;  // the system's own reason, when it gave one
};

// The system's own words for an error, safe to ask from any thread.
std::string SystemErrorText(const std::error_code& error);

// Whether the existence test passes over a file the folder holds as `name` for being
// hidden: a name starting with "." on POSIX, the hidden or system mark on Windows.
bool IsHiddenFile(const std::string& path, std::string_view name);

// The program's existence test: a directory look-up that finds a normal file. Folders and
// hidden files are not found; "*" and "?" in the last component are wildcards, and any
// match counts. Letter case is not significant, as in the Windows look-up: Unicode simple
// case folding, beyond ASCII too. A path holding a NUL names no file.
bool FileExists(const std::string& path);

// Finds the file a path names, taking "*" and "?" literally. When the exact path does not
// exist, each component is matched without regard to letter case; an exact match always
// wins, and among several others the one first in byte order is taken. Inner components
// must be folders.
std::optional<std::string> LocateFile(const std::string& path);

// What look-ups learnt of the folders they went through, for the look-ups after. Folders
// are "" or end in a separator.
struct FolderCache {
    std::map<std::string, FolderIndex> indexes;                 // by folder on disk
    std::map<std::string, std::optional<std::string>> folders;  // folder as named: on disk
};

// Finds the member files of one run, as LocateFile does. A run asks for many files in few
// folders, so a locator reads each folder it has to search once, and keeps an index of it
// and where each folder named was found for the files asked for after; files added or
// renamed during the run may go unseen.
class FileLocator {
public:
    std::optional<std::string> Locate(const std::string& path);

    // How many folders it has read so far.
    std::size_t FoldersRead() const { return cache_.indexes.size(); }

private:
    FolderCache cache_;
};

// The project's folder, up to and including the last path separator ("" when none).
std::string ProjectFolder(const std::string& projectPath);

// A member's path: the folder followed by the member name as the project writes it, with
// the project's backslashes turned into this platform's separator. Nothing is inserted. A
// name that starts at a root of this platform ("/" on POSIX; a drive or a share on
// Windows) is taken as it is.
std::string MemberPath(const std::string& folder, const std::string& memberName);

// Bytes read in order from their start, from a file or, in tests, from a source that fails
// on cue.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads up to size bytes; 0 at the end or after an error (see Problem()).
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    virtual const FileProblem& Problem() const = 0;
    // Starts again from the first byte, for a second reading; false when it cannot.
    virtual bool Rewind() { return false; }
};

// A file opened for sequential reading; closed when it goes out of scope. A path holding a
// NUL is Missing: no file has that name, and no shorter name is opened in its place.
class InputFile : public ByteSource {
public:
    static InputFile Open(const std::string& path);

    InputFile(InputFile&& other) noexcept
        : handle_(std::exchange(other.handle_, kClosed)), problem_(std::move(other.problem_)) {}
    InputFile& operator=(InputFile&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, kClosed);
            problem_ = std::move(other.problem_);
        }
        return *this;
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() override { Close(); }

    bool IsOpen() const { return handle_ != kClosed; }
    const FileProblem& Problem() const override { return problem_; }

    std::size_t Read(char* buffer, std::size_t size) override;
    bool Rewind() override;

    // Which file is open, however its path reached it; nothing when none is.
    std::optional<FileIdentity> Identity() const;

private:
    using Handle = std::intptr_t;
    static constexpr Handle kClosed = -1;

    InputFile() = default;
    void Close() noexcept;  // the one part each platform writes its own way

    Handle handle_ = kClosed;
    FileProblem problem_;
};

// Block size for sequential reads: large enough to amortise system calls, small enough to
// keep memory flat whatever the file's size.
inline constexpr std::size_t kReadBlockSize = 256 * 1024;

}  // namespace tallix
