// The name goes through UTF-16, so a path outside the ANSI code page opens as well.

#include <cstdio>

#include "engine/text/wide_text.h"
#include "persistence/deposit/font_file.h"

namespace tallix {

std::FILE* OpenFileForReading(const std::string& utf8Path) {
    return ::_wfopen(Utf8ToWide(utf8Path).c_str(), L"rb");
}

}  // namespace tallix
