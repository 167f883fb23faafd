#pragma once
// Text measured and drawn from the glyph atlas: no font library at run time,
// so every machine and every build gives the same pixels. A font request's
// cell height picks the atlas face made for that cell.
#include "platform/GlyphAtlas.h"
#include "platform/Platform.h"

namespace pw {

class AtlasTextRenderer : public TextRenderer {
public:
    explicit AtlasTextRenderer(const GlyphAtlas& atlas = GlyphAtlas::Embedded()) : atlas_(atlas) {}

    Size Measure(const LogFont& font, const std::u16string& text) override;
    void Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
              Surface& dst) override;

private:
    const GlyphAtlas& atlas_;
};

}  // namespace pw
