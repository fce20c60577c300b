#pragma once

#include <string>

namespace tallix {

// The main window's caption: the design caption with the version, the minor version in two
// digits and the revision in four, "Cantorel Ver 1.00 Build 0062".
std::string WindowCaption();

}  // namespace tallix
