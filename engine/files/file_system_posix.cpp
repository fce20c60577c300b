// POSIX side of the platform layer: code page 936 through iconv, and a file system whose
// names are case-sensitive while the projects we read were written on Windows.

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
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
#include "engine/text/codepage.h"

namespace tallix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) {
            iconv_close(cd_);
        }
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
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                return false;
            }
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
        if (converter.Valid() && converter.Convert(input, out)) {
            break;
        }
        input.remove_prefix(std::min(input.size(), onBad(out, input)));
    }
    return out;
}

bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

// Cells of code page 936 that iconv leaves empty and Windows maps to the private-use area,
// row by row (0x7F is never a trail byte): GBK's three user-defined areas, and after them,
// from U+E766 on in byte order, every other cell that GBK leaves empty.
struct PrivateUseArea {
    unsigned char firstLead, lastLead, firstTrail, lastTrail;
    char32_t firstCharacter;

    unsigned RowSize() const {
        return lastTrail - firstTrail + 1u - (firstTrail < 0x7F && lastTrail > 0x7F ? 1u : 0u);
    }
    char32_t LastCharacter() const {
        return firstCharacter + (lastLead - firstLead + 1u) * RowSize() - 1u;
    }
};

// clang-format off
constexpr PrivateUseArea kPrivateUseAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
    {0xA2, 0xA2, 0xAB, 0xB0, 0xE766},
    {0xA2, 0xA2, 0xE3, 0xE4, 0xE76C},
    {0xA2, 0xA2, 0xEF, 0xF0, 0xE76E},
    {0xA2, 0xA2, 0xFD, 0xFE, 0xE770},
    {0xA4, 0xA4, 0xF4, 0xFE, 0xE772},
    {0xA5, 0xA5, 0xF7, 0xFE, 0xE77D},
    {0xA6, 0xA6, 0xB9, 0xC0, 0xE785},
    {0xA6, 0xA6, 0xD9, 0xDF, 0xE78D},
    {0xA6, 0xA6, 0xEC, 0xED, 0xE794},
    {0xA6, 0xA6, 0xF3, 0xF3, 0xE796},
    {0xA6, 0xA6, 0xF6, 0xFE, 0xE797},
    {0xA7, 0xA7, 0xC2, 0xD0, 0xE7A0},
    {0xA7, 0xA7, 0xF2, 0xFE, 0xE7AF},
    {0xA8, 0xA8, 0x96, 0xA0, 0xE7BC},
    {0xA8, 0xA8, 0xBC, 0xBC, 0xE7C7},
    {0xA8, 0xA8, 0xBF, 0xBF, 0xE7C8},
    {0xA8, 0xA8, 0xC1, 0xC4, 0xE7C9},
    {0xA8, 0xA8, 0xEA, 0xFE, 0xE7CD},
    {0xA9, 0xA9, 0x58, 0x58, 0xE7E2},
    {0xA9, 0xA9, 0x5B, 0x5B, 0xE7E3},
    {0xA9, 0xA9, 0x5D, 0x5F, 0xE7E4},
    {0xA9, 0xA9, 0x89, 0x95, 0xE7E7},
    {0xA9, 0xA9, 0x97, 0xA3, 0xE7F4},
    {0xA9, 0xA9, 0xF0, 0xFE, 0xE801},
    {0xD7, 0xD7, 0xFA, 0xFE, 0xE810},
    {0xFE, 0xFE, 0x50, 0xA0, 0xE815},
};
// clang-format on

std::optional<char32_t> PrivateUseCharacter(unsigned char lead, unsigned char trail) {
    for (const auto& area : kPrivateUseAreas) {
        if (lead < area.firstLead || lead > area.lastLead || trail < area.firstTrail ||
            trail > area.lastTrail || trail == 0x7F) {
            continue;
        }
        const unsigned column = trail - area.firstTrail - (trail > 0x7F && area.firstTrail < 0x7F);
        return area.firstCharacter + (lead - area.firstLead) * area.RowSize() + column;
    }
    return std::nullopt;
}

std::optional<std::string> PrivateUseBytes(char32_t c) {
    for (const auto& area : kPrivateUseAreas) {
        if (c < area.firstCharacter || c > area.LastCharacter()) {
            continue;
        }
        const unsigned index = c - area.firstCharacter;
        unsigned trail = area.firstTrail + index % area.RowSize();
        if (area.firstTrail < 0x7F && trail >= 0x7F) {
            ++trail;
        }
        return std::string{static_cast<char>(area.firstLead + index / area.RowSize()),
                           static_cast<char>(trail)};
    }
    return std::nullopt;
}

// The private-use characters above are all three bytes long in UTF-8.
std::string ThreeByteUtf8(char32_t c) {
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

std::optional<char32_t> ThreeByteCharacter(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s.size() < 3 || (byte(0) & 0xF0) != 0xE0 || (byte(1) & 0xC0) != 0x80 ||
        (byte(2) & 0xC0) != 0x80) {
        return std::nullopt;
    }
    return static_cast<char32_t>((byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F));
}

// One character of UTF-8, or one stray byte.
std::size_t Utf8CharacterLength(std::string_view s) {
    std::size_t length = 1;
    while (length < 4 && length < s.size() &&
           (static_cast<unsigned char>(s[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return (static_cast<unsigned char>(s[0]) >= 0xC0) ? length : 1;
}

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

std::string AnsiToUtf8(std::string_view ansi) {
    // A lead byte and a trail byte are one character to Windows even where its table has
    // none, so such a pair is taken whole: its second byte may be a backslash.
    return ConvertLeniently("UTF-8", "CP936", ansi, [](std::string& out, std::string_view rest) {
        const auto lead = static_cast<unsigned char>(rest[0]);
        const auto trail = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
        if (!IsLeadByte(lead) || !IsTrailByte(trail)) {
            out += kReplacement;
            return std::size_t{1};
        }
        const auto privateUse = PrivateUseCharacter(lead, trail);
        out += privateUse ? ThreeByteUtf8(*privateUse) : std::string(kReplacement);
        return std::size_t{2};
    });
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return ConvertLeniently("CP936", "UTF-8", utf8, [](std::string& out, std::string_view rest) {
        const auto character = ThreeByteCharacter(rest);
        const auto bytes = character ? PrivateUseBytes(*character) : std::nullopt;
        out += bytes.value_or("?");
        return Utf8CharacterLength(rest);
    });
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
    std::string path = folder + memberName;
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
