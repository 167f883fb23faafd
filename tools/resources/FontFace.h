#pragma once
// One face of a TrueType font at one point size (72 dots an inch), with FreeType's normal hinting and
// HarfBuzz's shaping: the metrics, the 1-bit glyphs and the pen positions the game's text is made of.
#include <cstdint>
#include <string>
#include <vector>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;
struct hb_font_t;

namespace pw::tool {

// A glyph as the atlas keeps it. Positions are in pixels, advances in 1/64 pixel.
struct GlyphImage {
    char32_t code = 0;
    int32_t advance = 0;  // the hinted advance, as shaping gives it
    // The box the text is measured with: the outline's pixel bounds (left, top above the baseline).
    int boxLeft = 0, boxTop = 0, boxWidth = 0, boxRows = 0;
    // The 1-bit picture drawn: its top-left corner relative to the pen on the baseline.
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<uint8_t> ink;  // rows * width values of 0 or 1, top row first
};

// A shaped glyph: which character and where its pen stands, in 1/64 pixel.
struct PlacedGlyph {
    char32_t code = 0;
    int32_t penX = 0;
};

class FontFace {
public:
    FontFace(const std::string& fontPath, int pointSize);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    int PointSize() const { return pointSize_; }
    int Ascent() const { return ascent_; }
    // The line height: ascender to descender, rounded up to whole pixels.
    int Height() const { return height_; }
    bool Has(char32_t code) const;

    // How a glyph's picture is fitted to the pixel grid. The font's own hints suit nearly every glyph;
    // FreeType's automatic hinter keeps the round shapes of a few that the font's hints square off at
    // small sizes. The box and the advance always follow the font's hints, so text measures the same.
    enum class Hinting { Font, Automatic };

    GlyphImage Render(char32_t code, Hinting picture = Hinting::Font) const;
    // Shapes the text as one line; throws when a glyph is moved off the line or replaced, which the
    // atlas could not reproduce. The pen after the last glyph is returned in `end`.
    std::vector<PlacedGlyph> Shape(const std::u32string& text, int32_t& end) const;
    // The shaping adjustment between two characters standing side by side, in 1/64 pixel.
    int32_t Kerning(char32_t first, char32_t second) const;

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    hb_font_t* shaper_ = nullptr;
    int pointSize_;
    int ascent_ = 0;
    int height_ = 0;
};

}  // namespace pw::tool
