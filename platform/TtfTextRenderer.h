#pragma once
// Text drawn with the embedded condensed bold sans-serif font, narrow enough
// for the texts to fit where the screens place them. A font request's cell
// height picks the point size whose line height matches it, so that a height
// of h pixels gives a character cell of h pixels.
#include <map>

#include "platform/Platform.h"

struct _TTF_Font;

namespace pw {

class TtfTextRenderer : public TextRenderer {
public:
    TtfTextRenderer();
    ~TtfTextRenderer() override;
    TtfTextRenderer(const TtfTextRenderer&) = delete;
    TtfTextRenderer& operator=(const TtfTextRenderer&) = delete;

    Size Measure(const LogFont& font, const std::u16string& text) override;
    void Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
              Surface& dst) override;

private:
    _TTF_Font* FontFor(int32_t cellHeight);
    std::map<int32_t, _TTF_Font*> fonts_;
    bool ready_ = false;
};

}  // namespace pw
