#include "platform/AtlasTextRenderer.h"

#include <algorithm>
#include <vector>

namespace pw {

namespace {

int32_t CellHeight(int32_t requested) {
    // A LOGFONT height below zero asks for the glyph height; zero is the
    // default size. Both are treated as a cell of that many pixels.
    if (requested < 0) requested = requested == INT32_MIN ? INT32_MAX : -requested;
    if (requested == 0) requested = 16;
    return std::min<int32_t>(requested, 200);
}

// Whole pixels from 1/64 pixel, rounding down also below zero.
int32_t FloorPixels(int32_t v) { return v >= 0 ? v / 64 : -((-v + 63) / 64); }

struct PlacedGlyph {
    const AtlasGlyph* glyph;
    int32_t pen;  // 1/64 pixel from the line's start
};

// One line laid out: where each glyph's pen stands and the box that holds
// every glyph's measuring box and the whole advance.
struct Line {
    std::vector<PlacedGlyph> glyphs;
    int32_t width = 0, height = 0;
    int32_t originX = 0, originY = 0;  // of the line's start within the box
};

// Characters with no glyph show as a question mark; the string ends at its
// first null, as a C string would, and byte-order marks take no room.
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

Line Lay(const GlyphFace& face, const std::u16string& text) {
    Line line;
    const std::vector<const AtlasGlyph*> glyphs = GlyphsOf(face, text);
    int32_t minX = 0, maxX = 0, minY = 0, maxY = face.height;
    int32_t pen = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const AtlasGlyph& g = *glyphs[i];
        line.glyphs.push_back(PlacedGlyph{&g, pen});
        const int32_t x = FloorPixels(pen) + g.boxLeft;
        const int32_t y = face.ascent - g.boxTop;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x + g.boxWidth);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y + g.boxRows);
        pen += g.advance;
        if (i + 1 < glyphs.size()) pen += face.Kerning(g.code, glyphs[i + 1]->code);
    }
    maxX = std::max(maxX, FloorPixels(pen));
    line.width = maxX - minX;
    line.height = maxY - minY;
    line.originX = -minX;
    line.originY = -minY;
    return line;
}

}  // namespace

Size AtlasTextRenderer::Measure(const LogFont& font, const std::u16string& text) {
    const int32_t cell = CellHeight(font.height);
    const GlyphFace* face = atlas_.FaceFor(cell);
    return Size{face == nullptr ? 0 : Lay(*face, text).width, cell};
}

void AtlasTextRenderer::Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
                             Surface& dst) {
    dst.Fill(0, 0, dst.Width(), dst.Height(), background);
    const GlyphFace* face = atlas_.FaceFor(CellHeight(font.height));
    if (face == nullptr) return;
    const Line line = Lay(*face, text);
    if (line.width == 0) return;
    // The line's box is centred in dst; ink outside the box is cut off, as
    // is ink outside dst.
    const int32_t boxX = (dst.Width() - line.width) / 2;
    const int32_t boxY = (dst.Height() - line.height) / 2;
    for (const PlacedGlyph& placed : line.glyphs) {
        const AtlasGlyph& g = *placed.glyph;
        const int32_t left = line.originX + FloorPixels(placed.pen) + g.left;
        const int32_t top = line.originY + face->ascent - g.top;
        for (int32_t y = 0; y < g.rows; ++y) {
            const int32_t ly = top + y, dy = boxY + ly;
            if (ly < 0 || ly >= line.height || dy < 0 || dy >= dst.Height()) continue;
            for (int32_t x = 0; x < g.width; ++x) {
                const int32_t lx = left + x, dx = boxX + lx;
                if (lx < 0 || lx >= line.width || dx < 0 || dx >= dst.Width()) continue;
                if (face->Ink(g, x, y)) dst.Set(dx, dy, colour);
            }
        }
    }
}

}  // namespace pw
