#include "persistence/deposit/deposit_pdf.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "engine/text/display_width.h"
#include "persistence/deposit/font_face.h"

namespace tallix {

namespace {

// A4 portrait, in points, with room to bind at the left.
constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kPageWidth = 210 * kPointsPerMm;
constexpr double kPageHeight = 297 * kPointsPerMm;
constexpr double kLeftMargin = 25 * kPointsPerMm;
constexpr double kTopMargin = 15 * kPointsPerMm;

// A column is half an em: the width of a half-width glyph. A hundred columns and the mark's
// one more take 480 points of the 482 between the margins (25 mm and 15 mm), at 9.5 points.
constexpr double kColumn = 4.75;
constexpr double kFontSize = 2 * kColumn;
// The face's ascent is 1.16 em: the header's line starts at the top margin.
constexpr double kHeaderBaseline = kTopMargin + 11.5;
constexpr double kRuleY = kTopMargin + 15.5;
constexpr double kRuleWidth = 0.5;
constexpr double kFirstBaseline = kRuleY + 15;
// The fiftieth row stands on 783.5 points, its descent 13 above the bottom margin (15 mm).
constexpr double kLinePitch = 14.5;
// Columns left between the header's text and the page number.
constexpr int kHeaderGap = 2;

// A glyph no wider than this share of an em fits one column: a little wider than half, for
// the Latin-1 glyphs of CJK faces.
constexpr double kOneColumnShare = 0.6;

// FreeType's side of a face. Cairo may keep the face after its last user lets it go, so it
// deletes this itself, through the face's user data, when it drops the face.
struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~FreeTypeFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

const cairo_user_data_key_t kFreeTypeFaceKey{};

}  // namespace

struct DepositFace::Parts {
    FT_Face face = nullptr;  // owned by cairoFace
    cairo_font_face_t* cairoFace = nullptr;
    FT_UInt missingNarrow = 0;  // drawn for a one-column character the face has no glyph for
    std::unordered_map<char32_t, FT_UInt> glyphs;

    ~Parts() {
        if (cairoFace != nullptr) {
            cairo_font_face_destroy(cairoFace);
        }
    }

    // The glyph of c in a face, when it fits one column.
    FT_UInt NarrowGlyph(char32_t c) const {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE) != 0) {
            return 0;
        }
        const double limit = kOneColumnShare * face->units_per_EM;
        return face->glyph->advance.x <= limit ? glyph : 0;
    }

    // The first candidate the face draws one column wide; the last when none is.
    char32_t FirstNarrow(std::initializer_list<char32_t> candidates) const {
        for (const char32_t c : candidates) {
            if (NarrowGlyph(c) != 0) {
                return c;
            }
        }
        return *(candidates.end() - 1);
    }

    FT_UInt GlyphFor(char32_t c, int columns) {
        const auto known = glyphs.find(c);
        if (known != glyphs.end()) {
            return known->second;
        }
        FT_UInt glyph = c == U'\uFFFD' ? NarrowGlyph(c) : FT_Get_Char_Index(face, c);
        if (glyph == 0 && columns == 1) {
            glyph = missingNarrow;
        }
        return glyphs[c] = glyph;
    }
};

DepositFace::DepositFace(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {
    style_.columns = 100;
    style_.controlMark = parts_->FirstNarrow({U'\u00A4', U'\u00BF', U'?'});
    style_.continuationMark = parts_->FirstNarrow({U'\u00BB', U'\u2192', U'\\'});
    parts_->missingNarrow = parts_->NarrowGlyph(U'\uFFFD');
    if (parts_->missingNarrow == 0) {
        parts_->missingNarrow = parts_->NarrowGlyph(U'?');
    }
}

DepositFace::~DepositFace() = default;

std::unique_ptr<DepositFace> DepositFace::Open(const FontFile& file, std::string& reason) {
    // A static Windows build of cairo sets up its locks when its first surface is made, and
    // hangs on a font face made before: so a surface comes first, one that writes nothing.
    cairo_surface_destroy(cairo_pdf_surface_create_for_stream(nullptr, nullptr, 1, 1));
    auto freeType = std::make_unique<FreeTypeFace>();
    if (FT_Init_FreeType(&freeType->library) != 0) {
        reason = "内存不足";
        return nullptr;
    }
    if (OpenFontFace(freeType->library, file, &freeType->face) != 0 ||
        !FT_IS_SCALABLE(freeType->face) ||
        FT_Select_Charmap(freeType->face, FT_ENCODING_UNICODE) != 0) {
        reason = "字体文件" + file.path + "无法读取或不是可用的字体";
        return nullptr;
    }
    auto parts = std::make_unique<Parts>();
    parts->face = freeType->face;
    parts->cairoFace = cairo_ft_font_face_create_for_ft_face(freeType->face, 0);
    if (cairo_font_face_set_user_data(
            parts->cairoFace, &kFreeTypeFaceKey, freeType.get(),
            [](void* data) { delete static_cast<FreeTypeFace*>(data); }) != CAIRO_STATUS_SUCCESS) {
        reason = "内存不足";
        return nullptr;
    }
    freeType.release();  // cairo's now
    return std::unique_ptr<DepositFace>(new DepositFace(std::move(parts)));
}

namespace {

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
    const auto& out = *static_cast<const ContentSink*>(closure);
    return out({reinterpret_cast<const char*>(data), length}) ? CAIRO_STATUS_SUCCESS
                                                              : CAIRO_STATUS_WRITE_ERROR;
}

// Printed text gathered for one call of cairo_show_text_glyphs: each character at its own
// columns, its glyph standing for its own bytes of the text. Spaces take their columns but
// are not drawn: a reader of the text finds them from the gaps.
class GlyphRun {
public:
    void Add(DepositFace::Parts& parts, std::string_view text, double x, double baseline,
             double column) {
        int at = 0;
        for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
            const char32_t c = CodePointAt(text, i, length);
            const int columns = ListingColumns(c);
            if (c != U' ') {
                glyphs_.push_back({parts.GlyphFor(c, columns), x + at * column, baseline});
                clusters_.push_back({static_cast<int>(length), 1});
                text_.append(text.substr(i, length));
            }
            at += columns;
        }
    }

    void Show(cairo_t* cr) {
        if (!glyphs_.empty()) {
            cairo_show_text_glyphs(cr, text_.data(), static_cast<int>(text_.size()), glyphs_.data(),
                                   static_cast<int>(glyphs_.size()), clusters_.data(),
                                   static_cast<int>(clusters_.size()),
                                   cairo_text_cluster_flags_t{});
        }
        glyphs_.clear();
        clusters_.clear();
        text_.clear();
    }

private:
    std::vector<cairo_glyph_t> glyphs_;
    std::vector<cairo_text_cluster_t> clusters_;
    std::string text_;
};

void ShowText(cairo_t* cr, DepositFace::Parts& parts, std::string_view text, double x,
              double baseline, double column) {
    GlyphRun run;
    run.Add(parts, text, x, baseline, column);
    run.Show(cr);
}

// The name and version at the left, as much smaller as they must be to leave room for the
// page number at the right; the rule under them.
void DrawHeader(cairo_t* cr, DepositFace::Parts& parts, const ListingStyle& style,
                const std::string& title, std::int64_t page) {
    const int cells = style.columns + 1;
    const std::string number = std::to_string(page);
    const int numberColumns = static_cast<int>(number.size());
    const int titleColumns = PrintedColumns(title);
    const int room = cells - numberColumns - kHeaderGap;
    const double scale = titleColumns > room ? static_cast<double>(room) / titleColumns : 1.0;
    cairo_set_font_size(cr, kFontSize * scale);
    ShowText(cr, parts, title, kLeftMargin, kHeaderBaseline, kColumn * scale);
    cairo_set_font_size(cr, kFontSize);
    ShowText(cr, parts, number, kLeftMargin + (cells - numberColumns) * kColumn, kHeaderBaseline,
             kColumn);
    cairo_set_line_width(cr, kRuleWidth);
    cairo_move_to(cr, kLeftMargin, kRuleY);
    cairo_line_to(cr, kLeftMargin + cells * kColumn, kRuleY);
    cairo_stroke(cr);
}

}  // namespace

std::optional<std::string> DrawDeposit(const ListingPlan& plan, CountOptions options,
                                       const DepositHeader& header, DepositFace& face,
                                       const ContentSink& out) {
    DepositFace::Parts& parts = *face.parts_;
    const ListingStyle& style = face.Style();
    const std::string title =
        PrintableText(header.softwareName + " " + header.softwareVersion, style);
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
        WriteToSink, const_cast<ContentSink*>(&out), kPageWidth, kPageHeight);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Tallix");
    cairo_t* cr = cairo_create(surface);
    cairo_set_font_face(cr, parts.cairoFace);
    std::int64_t page = 0;
    GlyphRun rows;  // a page's rows, drawn in one call
    const ListingEnd end = ListDepositedPages(plan, options, style, [&](const DepositedLine& line) {
        if (line.page != page) {
            if (page != 0) {
                rows.Show(cr);
                cairo_show_page(cr);
            }
            page = line.page;
            DrawHeader(cr, parts, style, title, page);
        }
        rows.Add(parts, line.text, kLeftMargin, kFirstBaseline + line.row * kLinePitch, kColumn);
        return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    });
    if (page != 0) {
        rows.Show(cr);
        cairo_show_page(cr);
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) {
        status = cairo_surface_status(surface);
    }
    cairo_surface_destroy(surface);
    if (end == ListingEnd::Changed) {
        return std::string("源程序文件在导出过程中被修改，请重新导出");
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        return std::string(cairo_status_to_string(status));
    }
    return std::nullopt;
}

}  // namespace tallix
