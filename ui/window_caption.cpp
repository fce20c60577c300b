#include "ui/window_caption.h"

#include <cstdio>

#include "version/version.h"

namespace tallix {

std::string WindowCaption() {
    char caption[64];
    std::snprintf(caption, sizeof caption, "Cantorel Ver %d.%02d Build %04d", kVersionMajor,
                  kVersionMinor, kVersionRevision);
    return caption;
}

}  // namespace tallix
