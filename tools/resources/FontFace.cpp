#include "FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <memory>
#include <stdexcept>

namespace pw::tool {

namespace {

// Whole pixels from 1/64 pixel, rounding down (and up) also below zero.
int FloorPixels(long v) { return static_cast<int>((v & -64L) / 64); }
int CeilPixels(long v) { return FloorPixels(v + 63); }

// FreeType's normal hinting, for the glyphs and for the advances the shaper reads.
constexpr int kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL;

struct BufferDeleter {
    void operator()(hb_buffer_t* b) const { hb_buffer_destroy(b); }
};

}  // namespace

FontFace::FontFace(const std::string& fontPath, int pointSize) : pointSize_(pointSize) {
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(library_, fontPath.c_str(), 0, &face_) != 0) {
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot open font " + fontPath);
    }
    if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0 ||
        FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(pointSize) * 64, 0, 0) != 0 ||
        !FT_IS_SCALABLE(face_)) {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot size font " + fontPath);
    }
    const FT_Fixed scale = face_->size->metrics.y_scale;
    ascent_ = CeilPixels(FT_MulFix(face_->ascender, scale));
    height_ = CeilPixels(FT_MulFix(face_->ascender - face_->descender, scale));
    shaper_ = hb_ft_font_create(face_, nullptr);
    // The shaper's advances must be the hinted ones the glyphs are drawn with.
    hb_ft_font_set_load_flags(shaper_, kLoadFlags);
}

FontFace::~FontFace() {
    hb_font_destroy(shaper_);
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
}

bool FontFace::Has(char32_t code) const { return FT_Get_Char_Index(face_, code) != 0; }

GlyphImage FontFace::Render(char32_t code, Hinting picture) const {
    GlyphImage g;
    g.code = code;
    Shape(std::u32string(1, code), g.advance);

    if (FT_Load_Glyph(face_, FT_Get_Char_Index(face_, code), kLoadFlags) != 0)
        throw std::runtime_error("cannot load a glyph");
    FT_GlyphSlot slot = face_->glyph;
    // FreeType presets the bitmap's bounds when it loads an outline; a glyph with no outline (the
    // space) has none, and its box comes from the metrics instead.
    g.boxLeft = slot->bitmap_left;
    g.boxTop = slot->bitmap_top;
    g.boxWidth = static_cast<int>(slot->bitmap.width);
    g.boxRows = static_cast<int>(slot->bitmap.rows);
    if (g.boxLeft == 0 && g.boxTop == 0 && g.boxWidth == 0 && g.boxRows == 0) {
        const FT_Glyph_Metrics& m = slot->metrics;
        const int minX = FloorPixels(m.horiBearingX), maxX = CeilPixels(m.horiBearingX + m.width);
        const int maxY = FloorPixels(m.horiBearingY), minY = maxY - CeilPixels(m.height);
        g.boxLeft = minX;
        g.boxTop = maxY;
        g.boxWidth = maxX - minX;
        g.boxRows = maxY - minY;
    }

    if (picture == Hinting::Automatic &&
        FT_Load_Glyph(face_, FT_Get_Char_Index(face_, code), kLoadFlags | FT_LOAD_FORCE_AUTOHINT) != 0)
        throw std::runtime_error("cannot load a glyph");
    // 1-bit rendering: every pixel is ink or not, never a blend.
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) throw std::runtime_error("cannot render a glyph");
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        throw std::runtime_error("FreeType gave a glyph that is not 1-bit");
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.rows = g.width == 0 ? 0 : static_cast<int>(bitmap.rows);
    g.ink.resize(static_cast<size_t>(g.width) * g.rows);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
        for (int x = 0; x < g.width; ++x)
            g.ink[static_cast<size_t>(y) * g.width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
    return g;
}

std::vector<PlacedGlyph> FontFace::Shape(const std::u32string& text, int32_t& end) const {
    std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    hb_buffer_set_direction(buffer.get(), HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer.get(), HB_SCRIPT_UNKNOWN);
    hb_buffer_guess_segment_properties(buffer.get());
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(text.data()),
                        static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    const hb_feature_t kerning{HB_TAG('k', 'e', 'r', 'n'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END};
    hb_shape(shaper_, buffer.get(), &kerning, 1);

    unsigned int count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
    if (count != text.size()) throw std::runtime_error("shaping joined or split characters");
    std::vector<PlacedGlyph> placed;
    int32_t x = 0;
    for (unsigned int i = 0; i < count; ++i) {
        if (info[i].codepoint != FT_Get_Char_Index(face_, text[i]) || pos[i].x_offset != 0 ||
            pos[i].y_offset != 0 || pos[i].y_advance != 0)
            throw std::runtime_error("shaping moved a glyph off the line or replaced it");
        placed.push_back(PlacedGlyph{text[i], x});
        x += pos[i].x_advance;
    }
    end = x;
    return placed;
}

int32_t FontFace::Kerning(char32_t first, char32_t second) const {
    int32_t alone = 0, pair = 0;
    Shape(std::u32string(1, first), alone);
    return Shape(std::u32string{first, second}, pair)[1].penX - alone;
}

}  // namespace pw::tool
