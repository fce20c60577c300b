#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallix::cli {

// Terminal columns a UTF-8 text takes: East Asian wide characters take two.
std::size_t DisplayWidth(std::string_view utf8);

// The text as it may safely reach a terminal: a name read from a project file could
// otherwise move the cursor, recolour or retitle the terminal. C0 controls, DEL and bytes
// that are not part of well-formed UTF-8 are shown as \xHH, C1 controls (U+0080 to U+009F)
// and the controls of bidirectional text (U+202E and its kind) as \uHHHH, hexadecimal in
// capitals; everything else, the backslash included, stays as is.
std::string ShowControls(std::string_view utf8);

}  // namespace tallix::cli
