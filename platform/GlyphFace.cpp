#include "platform/GlyphFace.h"

#include <algorithm>

namespace pw {

namespace {
uint32_t PairKey(char16_t first, char16_t second) { return static_cast<uint32_t>(first) << 16 | second; }
}  // namespace

const AtlasGlyph* GlyphFace::Find(char16_t code) const {
    auto it = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                               [](const AtlasGlyph& g, char16_t c) { return g.code < c; });
    return it != glyphs.end() && it->code == code ? &*it : nullptr;
}

int32_t GlyphFace::Kerning(char16_t first, char16_t second) const {
    auto it = kerning_.find(PairKey(first, second));
    return it == kerning_.end() ? 0 : it->second;
}

void GlyphFace::SetKerning(char16_t first, char16_t second, int32_t adjust) {
    kerning_[PairKey(first, second)] = adjust;
}

}  // namespace pw
