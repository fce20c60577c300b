// Font files for the font tests: Noto's CJK collection (fonts-noto-cjk) placed where a test
// wants it, and damaged files beside it.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "temp_dir.h"

namespace tallix::testing {

inline const std::filesystem::path& NotoCollection() {
    static const std::filesystem::path path = FromUtf8(TALLIX_TEST_CJK_FONT);
    return path;
}

// The collection at relative in dir, as a hard link where the file system allows it (the
// file is 19 MB); returns its UTF-8 path.
inline std::string PlaceNoto(const TempDir& dir, const std::string& relative) {
    const auto target = dir.path() / FromUtf8(relative);
    std::filesystem::create_directories(target.parent_path());
    std::error_code error;
    std::filesystem::create_hard_link(NotoCollection(), target, error);
    if (error) {
        std::filesystem::copy_file(NotoCollection(), target);
    }
    return ToUtf8(target);
}

// The first size bytes of the collection: a font file cut short.
inline std::string PlaceTruncatedNoto(const TempDir& dir, const std::string& relative,
                                      std::size_t size) {
    std::ifstream in(NotoCollection(), std::ios::binary);
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return dir.Write(relative, bytes);
}

}  // namespace tallix::testing
