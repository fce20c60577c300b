#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tallix {

enum class FileError { None, Missing, NotAFile, Unreadable };

// Why a file could not be opened or read, as data; the window and the command line word it.
struct FileProblem {
    FileError error = FileError::None;
    std::string detail;  // the system's own reason, when it gave one
};

// The program's existence test: a directory look-up that finds a normal file. Folders and
// hidden files are not found; "*" and "?" in the last component are wildcards, and any
// match counts. Letter case is not significant, as in the Windows look-up.
bool FileExists(const std::string& path);

// Finds the file a path names, taking "*" and "?" literally. When the exact path does not
// exist, each component is matched without regard to letter case; an exact match always
// wins, and among several others the one first in byte order is taken.
std::optional<std::string> LocateFile(const std::string& path);

// Finds the member files of one run, as LocateFile does. A run asks for many files in few
// folders, so a locator may keep what it learnt of a folder for the files asked for after.
class FileLocator {
public:
    std::optional<std::string> Locate(const std::string& path) { return LocateFile(path); }
};

// The project's folder, up to and including the last path separator ("" when none).
std::string ProjectFolder(const std::string& projectPath);

// A member's path: the folder followed by the member name as the project writes it, with
// the project's backslashes turned into this platform's separator. Nothing is inserted.
std::string MemberPath(const std::string& folder, const std::string& memberName);

// A file opened for sequential reading; closed when it goes out of scope.
class InputFile {
public:
    static InputFile Open(const std::string& path);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    bool IsOpen() const { return handle_ != kClosed; }
    const FileProblem& Problem() const { return problem_; }

    // Reads up to size bytes; 0 at the end of the file or after an error (see Problem()).
    std::size_t Read(char* buffer, std::size_t size);

private:
    using Handle = std::intptr_t;
    static constexpr Handle kClosed = -1;

    InputFile() = default;

    Handle handle_ = kClosed;
    FileProblem problem_;
};

// Block size for sequential reads: large enough to amortise system calls, small enough to
// keep memory flat whatever the file's size.
inline constexpr std::size_t kReadBlockSize = 256 * 1024;

}  // namespace tallix
