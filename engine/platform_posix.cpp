// POSIX side of the platform layer: code page 936 through iconv, and a file system whose
// names are case-sensitive while the projects we read were written on Windows.

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "engine/codepage.h"
#include "engine/file_system.h"

namespace tallix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at a sequence it cannot convert, with
    // input pointing at it.
    bool Convert(std::string_view& input, std::string& out) {
        char buffer[4096];
        while (!input.empty()) {
            char* in = const_cast<char*>(input.data());
            std::size_t inLeft = input.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            input.remove_prefix(input.size() - inLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Converts with iconv; where it meets input it cannot convert, `onBad` writes a stand-in
// and says how many input bytes it stood for.
template <typename OnBad>
std::string ConvertLeniently(const char* to, const char* from, std::string_view input,
                             OnBad onBad) {
    std::string out;
    out.reserve(input.size() * 3 / 2);
    Iconv converter(to, from);
    while (!input.empty()) {
        if (converter.Valid() && converter.Convert(input, out)) break;
        input.remove_prefix(std::min(input.size(), onBad(out, input)));
    }
    return out;
}

// One character of UTF-8, or one stray byte.
std::size_t Utf8CharacterLength(std::string_view s) {
    std::size_t length = 1;
    while (length < 4 && length < s.size() &&
           (static_cast<unsigned char>(s[length]) & 0xC0) == 0x80)
        ++length;
    return (static_cast<unsigned char>(s[0]) >= 0xC0) ? length : 1;
}

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

// Matches like the Windows directory look-up: "*" any run of characters, "?" any one
// character, letters without regard to case, every other character literally. Works on
// bytes; a "?" against a multi-byte character is rare enough not to matter here.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

enum class Kind { Missing, File, Directory, Other };

Kind KindOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return Kind::Missing;
    if (S_ISREG(info.st_mode)) return Kind::File;
    if (S_ISDIR(info.st_mode)) return Kind::Directory;
    return Kind::Other;
}

std::vector<std::string> ListDirectory(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The folder part ("" or ending in "/") and the last component of a path.
std::pair<std::string, std::string> SplitLast(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Walks the path component by component, taking each one exactly when it exists and
// otherwise the first entry in byte order that matches it without regard to case and has
// the wanted kind (a folder for inner components, `last` for the final one).
std::optional<std::string> ResolveIgnoringCase(const std::string& path, Kind last) {
    if (KindOf(path) == last) return path;
    std::string resolved = path.starts_with('/') ? "/" : "";
    std::size_t start = resolved.size();
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const bool isLast = slash == std::string::npos;
        const std::string part = path.substr(start, isLast ? std::string::npos : slash - start);
        const Kind wanted = isLast ? last : Kind::Directory;
        if (part.empty() || part == "." || part == ".." || KindOf(resolved + part) == wanted) {
            resolved += part;
        } else {
            const auto names = ListDirectory(resolved);
            const auto match = std::find_if(names.begin(), names.end(), [&](const auto& name) {
                return EqualIgnoringCase(name, part) && KindOf(resolved + name) == wanted;
            });
            if (match == names.end()) return std::nullopt;
            resolved += *match;
        }
        if (isLast) break;
        resolved += '/';
        start = slash + 1;
    }
    if (KindOf(resolved) != last) return std::nullopt;
    return resolved;
}

bool IsHidden(std::string_view name) {
    return name.starts_with('.');
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    return ConvertLeniently("UTF-8", "CP936", ansi, [](std::string& out, std::string_view) {
        out += kReplacement;
        return std::size_t{1};
    });
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return ConvertLeniently("CP936", "UTF-8", utf8, [](std::string& out, std::string_view rest) {
        out += '?';
        return Utf8CharacterLength(rest);
    });
}

bool FileExists(const std::string& path) {
    auto [folder, name] = SplitLast(path);
    if (name.empty()) return false;
    if (!HasWildcard(name)) {
        const auto found = ResolveIgnoringCase(path, Kind::File);
        return found && !IsHidden(SplitLast(*found).second);
    }
    std::string directory;
    if (!folder.empty()) {
        const std::string trimmed = folder.substr(0, folder.size() - 1);
        const auto found = trimmed.empty() ? std::optional<std::string>("")
                                           : ResolveIgnoringCase(trimmed, Kind::Directory);
        if (!found) return false;
        directory = *found + "/";
    }
    for (const auto& entry : ListDirectory(directory)) {
        if (!IsHidden(entry) && WildcardMatch(name, entry) &&
            KindOf(directory + entry) == Kind::File)
            return true;
    }
    return false;
}

std::optional<std::string> LocateFile(const std::string& path) {
    return ResolveIgnoringCase(path, Kind::File);
}

std::string ProjectFolder(const std::string& projectPath) {
    return SplitLast(projectPath).first;
}

std::string MemberPath(const std::string& folder, const std::string& memberName) {
    std::string path = folder + memberName;
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(folder.size()), path.end(), '\\', '/');
    return path;
}

InputFile InputFile::Open(const std::string& path) {
    InputFile file;
    // Non-blocking, so that a FIFO or a device named as a member cannot hang the run; the
    // file type is checked before anything is read.
    const int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = path.empty() ? ENOENT : errno;
        file.problem_ = {
            error == ENOENT || error == ENOTDIR ? FileError::Missing : FileError::Unreadable,
            std::strerror(error)};
        return file;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        file.problem_ = {FileError::NotAFile, ""};
        return file;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    file.handle_ = fd;
    return file;
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    if (!IsOpen()) return 0;
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR) continue;
        problem_ = {FileError::Unreadable, std::strerror(errno)};
        return 0;
    }
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)), problem_(std::move(other.problem_)) {
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) ::close(static_cast<int>(handle_));
        handle_ = std::exchange(other.handle_, kClosed);
        problem_ = std::move(other.problem_);
    }
    return *this;
}

InputFile::~InputFile() {
    if (IsOpen()) ::close(static_cast<int>(handle_));
}

}  // namespace tallix
