#include "persistence/deposit/font_search.h"

#include "persistence/deposit/font_face.h"

namespace tallix {

namespace {

constexpr const char* kNotoMono = "Noto Sans Mono CJK SC";
// The face of kNotoMono in NotoSansCJK-Regular.ttc (fonts-noto-cjk 20220127).
constexpr int kNotoMonoInCollection = 7;

}  // namespace

std::vector<FontCandidate> WindowsFontCandidates(const std::string& programFolder,
                                                 const std::string& systemFontsFolder,
                                                 const std::string& userFontsFolder) {
    std::vector<FontCandidate> candidates;
    const auto add = [&](const std::string& folder, const char* file, const char* family,
                         int index) {
        if (!folder.empty()) {
            candidates.push_back({folder + "\\" + file, family, index});
        }
    };
    add(programFolder, "NotoSansCJK-Regular.ttc", kNotoMono, kNotoMonoInCollection);
    add(systemFontsFolder, "simsun.ttc", "NSimSun", 1);
    for (const std::string& folder : {systemFontsFolder, userFontsFolder}) {
        add(folder, "NotoSansMonoCJKsc-Regular.otf", kNotoMono, 0);
        add(folder, "NotoSansCJK-Regular.ttc", kNotoMono, kNotoMonoInCollection);
    }
    return candidates;
}

std::optional<FontFile> FirstFontFound(const std::vector<FontCandidate>& candidates) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return std::nullopt;
    }
    std::optional<FontFile> found;
    for (const FontCandidate& candidate : candidates) {
        if (const auto index = FindFaceOfFamily(library, candidate.path, candidate.family,
                                                candidate.likelyIndex)) {
            found = FontFile{candidate.path, *index};
            break;
        }
    }
    FT_Done_FreeType(library);
    return found;
}

}  // namespace tallix
