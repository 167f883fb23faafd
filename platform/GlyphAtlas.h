#pragma once
// The game's glyphs, made once at build time: for each cell height the game
// draws text at, the 1-bit picture, the measuring box and the advance of
// every character it can show, and the kerning between them. Read from the
// atlas file's bytes; any fault in them leaves an atlas with no faces, never
// a read outside the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/GlyphFace.h"

namespace pw {

// The cell height the desktop window's bar writes at. Its face holds every
// printable ASCII character and the middle dot besides the game's own, since
// the bar shows words the game never draws.
constexpr int32_t kBarCell = 13;

class GlyphAtlas {
public:
    // The atlas embedded into the executable.
    static const GlyphAtlas& Embedded();
    static GlyphAtlas Parse(const uint8_t* data, size_t size);

    bool Empty() const { return faces_.empty(); }
    // The face for the cell height: the largest whose cell fits it, else the
    // smallest; null for an empty atlas.
    const GlyphFace* FaceFor(int32_t cell) const;

private:
    std::vector<GlyphFace> faces_;  // by cell, ascending
};

}  // namespace pw
