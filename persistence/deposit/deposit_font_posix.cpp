// The deposit's font on Linux and other POSIX systems: Noto Sans Mono CJK SC (Debian's
// fonts-noto-cjk), found through fontconfig by its family name, with the index of its face
// in the collection that holds it.

#include <fontconfig/fontconfig.h>

#include <memory>

#include "persistence/deposit/deposit_font.h"

namespace tallix {

namespace {

constexpr const char* kFamily = "Noto Sans Mono CJK SC";

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

}  // namespace

std::optional<FontFile> FindDepositFont() {
    // A configuration of its own, rather than fontconfig's process-wide one, which it would
    // keep for the rest of the run.
    const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    if (!config) {
        return std::nullopt;
    }
    const std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(kFamily));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
    const std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr));
    // A list, not a match: a match always finds some font, whatever its family.
    const std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontList(config.get(), pattern.get(), objects.get()));
    if (!fonts) {
        return std::nullopt;
    }
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch &&
            FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index) == FcResultMatch) {
            return FontFile{reinterpret_cast<const char*>(file), index};
        }
    }
    return std::nullopt;
}

}  // namespace tallix
