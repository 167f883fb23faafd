#pragma once
// One line of text laid out glyph by glyph: each pen stands at the sum of
// the advances and pair adjustments before it. The line's box holds every
// glyph's measuring box, the whole line height and the final pen; ink is
// given in the box's coordinates, and ink outside the box is cut off.
#include <string>
#include <vector>

#include "platform/GlyphFace.h"

namespace pw {

class TextLine {
public:
    // Characters with no glyph show as a question mark; the text ends at its
    // first null, as a C string would, and byte-order marks take no room.
    TextLine(const GlyphFace& face, const std::u16string& text);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    // Calls plot(x, y) for every ink pixel inside the box.
    template <typename Plot>
    void ForEachInk(Plot plot) const {
        for (const Placed& placed : glyphs_) {
            const AtlasGlyph& g = *placed.glyph;
            const int32_t left = originX_ + placed.x + g.left;
            const int32_t top = originY_ + face_.ascent - g.top;
            for (int32_t y = 0; y < g.rows; ++y) {
                if (top + y < 0 || top + y >= height_) continue;
                for (int32_t x = 0; x < g.width; ++x)
                    if (left + x >= 0 && left + x < width_ && face_.Ink(g, x, y)) plot(left + x, top + y);
            }
        }
    }

private:
    struct Placed {
        const AtlasGlyph* glyph;
        int32_t x;  // the pen, rounded down to a whole pixel
    };
    const GlyphFace& face_;
    std::vector<Placed> glyphs_;
    int32_t width_ = 0, height_ = 0;
    int32_t originX_ = 0, originY_ = 0;  // of the line's start within the box
};

}  // namespace pw
