#include <cstdio>

#include "persistence/deposit/font_file.h"

namespace tallix {

std::FILE* OpenFileForReading(const std::string& utf8Path) {
    return std::fopen(utf8Path.c_str(), "rb");
}

}  // namespace tallix
