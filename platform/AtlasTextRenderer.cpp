#include "platform/AtlasTextRenderer.h"

#include <algorithm>
#include <cstdint>

#include "platform/TextLine.h"

namespace pw {

namespace {

int32_t CellHeight(int32_t requested) {
    // A LOGFONT height below zero asks for the glyph height; zero is the
    // default size. Both are treated as a cell of that many pixels.
    if (requested < 0) requested = requested == INT32_MIN ? INT32_MAX : -requested;
    if (requested == 0) requested = 16;
    return std::min<int32_t>(requested, 200);
}

}  // namespace

Size AtlasTextRenderer::Measure(const LogFont& font, const std::u16string& text) {
    const int32_t cell = CellHeight(font.height);
    const GlyphFace* face = atlas_.FaceFor(cell);
    return Size{face == nullptr ? 0 : TextLine(*face, text).Width(), cell};
}

void AtlasTextRenderer::Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
                             Surface& dst) {
    dst.Fill(0, 0, dst.Width(), dst.Height(), background);
    const GlyphFace* face = atlas_.FaceFor(CellHeight(font.height));
    if (face == nullptr) return;
    const TextLine line(*face, text);
    // The line's box is centred in dst, and what falls outside dst is cut off.
    const int32_t boxX = (dst.Width() - line.Width()) / 2;
    const int32_t boxY = (dst.Height() - line.Height()) / 2;
    line.ForEachInk([&](int32_t x, int32_t y) {
        const int32_t dx = boxX + x, dy = boxY + y;
        if (dx >= 0 && dy >= 0 && dx < dst.Width() && dy < dst.Height()) dst.Set(dx, dy, colour);
    });
}

}  // namespace pw
