#include "persistence/deposit/font_face.h"

#include <cstdio>
#include <cstring>

#include "persistence/deposit/font_file.h"

namespace tallix {

namespace {

// The stream and the file it reads; FreeType calls Close once, when the face is done or
// could not be opened.
struct FileStream {
    FT_StreamRec stream{};
    std::FILE* file = nullptr;
};

FileStream* StreamOf(FT_Stream stream) {
    return static_cast<FileStream*>(stream->descriptor.pointer);
}

// A read of count 0 is a seek, which returns 0 on success.
unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                   unsigned long count) {
    std::FILE* file = StreamOf(stream)->file;
    if (offset > stream->size || std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) {
        return count == 0 ? 1 : 0;
    }
    return count == 0 ? 0 : std::fread(buffer, 1, count, file);
}

void Close(FT_Stream stream) {
    FileStream* owner = StreamOf(stream);
    std::fclose(owner->file);
    delete owner;
}

}  // namespace

FT_Error OpenFontFace(FT_Library library, const FontFile& font, FT_Face* face) {
    if (library == nullptr || face == nullptr) {
        return FT_Err_Invalid_Argument;
    }
    std::FILE* file = OpenFileForReading(font.path);
    if (file == nullptr) {
        return FT_Err_Cannot_Open_Resource;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    if (size < 0) {
        std::fclose(file);
        return FT_Err_Cannot_Open_Resource;
    }
    auto* owner = new FileStream;
    owner->file = file;
    owner->stream.size = static_cast<unsigned long>(size);
    owner->stream.pos = 0;
    owner->stream.descriptor.pointer = owner;
    owner->stream.read = Read;
    owner->stream.close = Close;

    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &owner->stream;
    return FT_Open_Face(library, &args, font.faceIndex, face);
}

std::optional<int> FindFaceOfFamily(FT_Library library, const std::string& path,
                                    std::string_view family, int likelyIndex) {
    const auto familyOf = [&](int index, long* faces) -> std::optional<std::string> {
        FT_Face face = nullptr;
        if (OpenFontFace(library, {path, index}, &face) != 0) {
            return std::nullopt;
        }
        std::string name = face->family_name != nullptr ? face->family_name : "";
        if (faces != nullptr) {
            *faces = face->num_faces;
        }
        FT_Done_Face(face);
        return name;
    };
    long faces = 0;
    if (likelyIndex >= 0 && familyOf(likelyIndex, nullptr) == family) {
        return likelyIndex;
    }
    if (!familyOf(0, &faces)) {
        return std::nullopt;
    }
    for (int index = 0; index < faces; ++index) {
        if (index != likelyIndex && familyOf(index, nullptr) == family) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace tallix
