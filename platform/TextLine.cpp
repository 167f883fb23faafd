#include "platform/TextLine.h"

#include <algorithm>

namespace pw {

namespace {

// Whole pixels from 1/64 pixel, rounding down also below zero.
int32_t FloorPixels(int32_t v) { return v >= 0 ? v / 64 : -((-v + 63) / 64); }

std::vector<const AtlasGlyph*> GlyphsOf(const GlyphFace& face, const std::u16string& text) {
    std::vector<const AtlasGlyph*> out;
    for (char16_t c : text) {
        if (c == 0) break;
        if (c == 0xFEFF || c == 0xFFFE) continue;
        const AtlasGlyph* glyph = face.Find(c);
        if (glyph == nullptr) glyph = face.Find(u'?');
        if (glyph != nullptr) out.push_back(glyph);
    }
    return out;
}

}  // namespace

TextLine::TextLine(const GlyphFace& face, const std::u16string& text) : face_(face) {
    const std::vector<const AtlasGlyph*> glyphs = GlyphsOf(face, text);
    int32_t minX = 0, maxX = 0, minY = 0, maxY = face.height;
    int32_t pen = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const AtlasGlyph& g = *glyphs[i];
        const int32_t x = FloorPixels(pen);
        glyphs_.push_back(Placed{&g, x});
        const int32_t top = face.ascent - g.boxTop;
        minX = std::min(minX, x + g.boxLeft);
        maxX = std::max(maxX, x + g.boxLeft + g.boxWidth);
        minY = std::min(minY, top);
        maxY = std::max(maxY, top + g.boxRows);
        pen += g.advance;
        if (i + 1 < glyphs.size()) pen += face.Kerning(g.code, glyphs[i + 1]->code);
    }
    maxX = std::max(maxX, FloorPixels(pen));
    width_ = maxX - minX;
    height_ = maxY - minY;
    originX_ = -minX;
    originY_ = -minY;
}

}  // namespace pw
