#include "Lettering.h"

#include <set>
#include <stdexcept>

#include "FontFace.h"
#include "GlyphAtlasMaker.h"
#include "platform/TextLine.h"

namespace pw::tool {

Canvas Lettering::Render(const std::string& text, int pointSize, Rgb colour) const {
    std::u32string wide;
    for (char c : text) {
        if (static_cast<unsigned char>(c) > 0x7F) throw std::runtime_error("lettering is ASCII: " + text);
        wide.push_back(static_cast<char32_t>(c));
    }
    const std::set<char32_t> characters(wide.begin(), wide.end());
    const FontFace font(fontPath_, pointSize);
    const GlyphFace face = ToGlyphFace(
        MakeFace(font, font.Height(), std::vector<char32_t>(characters.begin(), characters.end()), {wide}));
    const TextLine line(face, std::u16string(wide.begin(), wide.end()));
    if (line.Width() == 0) throw std::runtime_error("lettering with no width: " + text);
    Canvas out(line.Width(), line.Height());
    line.ForEachInk([&](int32_t x, int32_t y) { out.Set(x, y, colour); });
    return out;
}

}  // namespace pw::tool
