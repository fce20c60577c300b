// Opening a face of a font file with FreeType, and finding a face by its family.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <optional>
#include <string>
#include <string_view>

#include "persistence/deposit/deposit_font.h"

namespace tallix {

// FT_New_Face for a UTF-8 path on every platform. FreeType opens a path itself in the
// ANSI code page on Windows, which cannot name a folder such as "D:\软件\Tallix" under every
// code page; here the file is opened through the platform's own (wide) names and handed to
// FreeType as a stream, read as needed and closed by FT_Done_Face.
FT_Error OpenFontFace(FT_Library library, const FontFile& font, FT_Face* face);

// The index of the face of the font file at path whose family is family, trying
// likelyIndex first; nullopt when the file is no font FreeType reads or holds no such face.
std::optional<int> FindFaceOfFamily(FT_Library library, const std::string& path,
                                    std::string_view family, int likelyIndex);

}  // namespace tallix
