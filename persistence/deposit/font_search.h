// Where a deposit looks for its font, and the first of those places that holds it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "persistence/deposit/deposit_font.h"

namespace tallix {

// A font file that may hold the wanted face: its family, and the index it is likely at.
struct FontCandidate {
    std::string path;
    std::string family;
    int likelyIndex = 0;

    friend bool operator==(const FontCandidate&, const FontCandidate&) = default;
};

// The places on Windows, in order: the font shipped beside the program ("Noto Sans Mono CJK
// SC" of Noto's CJK collection), then the system's NSimSun (新宋体, in simsun.ttc on every
// Chinese Windows), then Noto Sans Mono CJK SC installed for the machine or for the user.
// Folders are UTF-8, without a closing separator; an empty one is left out.
std::vector<FontCandidate> WindowsFontCandidates(const std::string& programFolder,
                                                 const std::string& systemFontsFolder,
                                                 const std::string& userFontsFolder);

// The first candidate that is a font file FreeType reads and that holds a face of its
// family, at whatever index; a missing, damaged or other font file is passed over.
std::optional<FontFile> FirstFontFound(const std::vector<FontCandidate>& candidates);

}  // namespace tallix
