#include "persistence/deposit/font_search.h"
#include "smoke_font.h"

namespace tallix::testing {

std::optional<FontFile> SmokeTestFont() {
    return FirstFontFound({{TALLIX_TEST_CJK_FONT, "Noto Sans Mono CJK SC", 7}});
}

}  // namespace tallix::testing
