// persistence/deposit/deposit_font.h
#pragma once
#include <optional>
#include <string>
namespace tallix {
// A font file, UTF-8 path, and the index of the face in it (a .ttc holds several).
struct FontFile {
    std::string path;
    int faceIndex = 0;
};
// The monospaced CJK face deposits are set in, found the platform's way; nullopt when
// there is none.
std::optional<FontFile> FindDepositFont();
}  // namespace tallix
