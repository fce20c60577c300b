// cairo's PDF surface drawing with a FreeType face, as a deposit does: two lines, ASCII and
// Chinese, in the deposit's font. With TALLIX_CAIRO_SMOKE_PDF set the PDF is also written
// there, for tests/persistence/cairo_pdf_check.cmake to read back with poppler.

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "persistence/deposit/font_face.h"
#include "smoke_font.h"

namespace tallix {
namespace {

constexpr double kA4Width = 595.276;
constexpr double kA4Height = 841.89;

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

// The two lines on one A4 page, the PDF's bytes returned. The surface comes before the
// font face: creating it sets up cairo's locks, which a static Windows build of cairo
// otherwise leaves uninitialised.
std::string DrawTwoLines(FT_Library library, const FontFile& font, std::string* error) {
    std::string pdf;
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(Append, &pdf, kA4Width, kA4Height);
    FT_Face face = nullptr;
    if (const FT_Error opened = OpenFontFace(library, font, &face); opened != 0) {
        *error = "FreeType error " + std::to_string(opened);
        cairo_surface_destroy(surface);
        return {};
    }
    cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_font_face_set_user_data(fontFace, &kFaceKey, face, DoneFace);

    cairo_t* cr = cairo_create(surface);
    cairo_set_font_face(cr, fontFace);
    cairo_set_font_size(cr, 10.5);
    cairo_move_to(cr, 72, 100);
    cairo_show_text(cr, "Option Explicit");
    cairo_move_to(cr, 72, 116);
    cairo_show_text(cr, "' 计算成绩");
    cairo_show_page(cr);
    const cairo_status_t drawn = cairo_status(cr);
    cairo_destroy(cr);
    cairo_font_face_destroy(fontFace);
    cairo_surface_finish(surface);
    const cairo_status_t finished = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (drawn != CAIRO_STATUS_SUCCESS || finished != CAIRO_STATUS_SUCCESS) {
        *error = cairo_status_to_string(drawn != CAIRO_STATUS_SUCCESS ? drawn : finished);
        return {};
    }
    return pdf;
}

TEST(CairoPdf, DrawsAsciiAndChineseWithAnEmbeddedSubset) {
    const auto font = testing::SmokeTestFont();
    ASSERT_TRUE(font.has_value()) << "no deposit font found";
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    std::string error;
    const std::string pdf = DrawTwoLines(library, *font, &error);
    // cairo keeps the font face in its caches until its static data is reset; the face,
    // and so FreeType, must outlive it.
    cairo_debug_reset_static_data();
    FT_Done_FreeType(library);
    ASSERT_EQ(error, "");

    EXPECT_EQ(pdf.rfind("%PDF-1.", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    // A CID font whose program is embedded: a subset, whose name carries a six-letter tag.
    EXPECT_NE(pdf.find("/CIDFontType0"), std::string::npos);
    EXPECT_NE(pdf.find("/FontFile3"), std::string::npos);
    EXPECT_NE(pdf.find("+NotoSansMonoCJKsc-Regular"), std::string::npos);
    EXPECT_NE(pdf.find("/ToUnicode"), std::string::npos);
    // A subset of two lines is small; the whole face would be 16 MB.
    EXPECT_LT(pdf.size(), 100'000u);

    if (const char* path = std::getenv("TALLIX_CAIRO_SMOKE_PDF")) {
        std::ofstream out(path, std::ios::binary);
        out << pdf;
        out.close();
        EXPECT_TRUE(out) << "could not write " << path;
    }
}

}  // namespace
}  // namespace tallix
