#pragma once
// The glyphs of one cell height: for every character, the 1-bit picture,
// the box it is measured with and its advance, and the kerning between
// characters side by side.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace pw {

struct AtlasGlyph {
    char16_t code = 0;
    int32_t advance = 0;  // 1/64 pixel
    // The box the text is measured with, relative to the pen on the baseline.
    int32_t boxLeft = 0, boxTop = 0, boxWidth = 0, boxRows = 0;
    // The picture drawn, relative to the pen on the baseline.
    int32_t left = 0, top = 0, width = 0, rows = 0;
    size_t firstBit = 0;  // of its ink in the face's bits, top row first
};

class GlyphFace {
public:
    int32_t cell = 0;    // the cell height this face is for
    int32_t ascent = 0;  // baseline below the top of the line
    int32_t height = 0;  // the line height, at most the cell

    // The glyph for the character, or null when the face has none.
    const AtlasGlyph* Find(char16_t code) const;
    // The adjustment between two glyphs side by side, in 1/64 pixel.
    int32_t Kerning(char16_t first, char16_t second) const;
    void SetKerning(char16_t first, char16_t second, int32_t adjust);
    bool Ink(const AtlasGlyph& glyph, int32_t x, int32_t y) const {
        const size_t bit = glyph.firstBit + static_cast<size_t>(y) * glyph.width + x;
        return (bits[bit / 8] >> (7 - bit % 8)) & 1;
    }

    std::vector<AtlasGlyph> glyphs;  // by code, ascending
    std::vector<uint8_t> bits;       // each glyph's ink starts on a byte of its own

private:
    std::map<uint32_t, int32_t> kerning_;
};

}  // namespace pw
