#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tallix::testing {

#ifdef _WIN32
inline constexpr bool kWindows = true;
inline constexpr char kSeparator = '\\';
#else
inline constexpr bool kWindows = false;
inline constexpr char kSeparator = '/';
#endif

// The engine's paths are UTF-8 strings on every platform.
inline std::filesystem::path FromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).make_preferred();
}

inline std::string ToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A fresh folder under the system's temp folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("tallix-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        // Tests may leave read-only files behind; make them removable first.
        using Iterator = std::filesystem::recursive_directory_iterator;
        for (Iterator it(path_, ignored); !ignored && it != Iterator(); it.increment(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The path as the engine takes it: UTF-8, with this platform's separators.
    std::string Str(std::string_view relative = {}) const {
        return ToUtf8(relative.empty() ? path_ : path_ / FromUtf8(relative));
    }

    // Writes bytes exactly as given, creating folders on the way.
    std::string Write(std::string_view relative, std::string_view bytes) const {
        const auto file = path_ / FromUtf8(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return ToUtf8(file);
    }

private:
    std::filesystem::path path_;
};

}  // namespace tallix::testing
