// The font the PDF smoke test draws with: on Windows the deposit's own, found beside the
// test program; elsewhere Noto's mono SC face from fonts-noto-cjk.
#pragma once

#include <optional>

#include "persistence/deposit/deposit_font.h"

namespace tallix::testing {

std::optional<FontFile> SmokeTestFont();

}  // namespace tallix::testing
