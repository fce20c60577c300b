#include "smoke_font.h"

namespace tallix::testing {

std::optional<FontFile> SmokeTestFont() {
    return FindDepositFont();
}

}  // namespace tallix::testing
