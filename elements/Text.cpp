#include "elements/Text.h"

#include "scene/Screen.h"

namespace pw {

LogFont Text::DefaultFont() { return BoldSwissFont(18); }

Text::Text(Screen* screen_, const std::u16string& text_, Pixel colour)
    : Text(screen_, text_, colour, DefaultFont()) {}

Text::Text(Screen* screen_, const std::u16string& text_, Pixel colour, const LogFont& font)
    : Figure(screen_), text(text_) {
    SetX(0);
    SetY(0);
    TextRenderer& renderer = GetPlatform().text;
    const Size extent = renderer.Measure(font, text);
    SetWidth(extent.width);
    SetHeight(extent.height);
    surface = std::make_unique<Surface>(GetWidth(), GetHeight());
    renderer.Draw(font, text, colour, KeyColour, *surface);
    SetVisible(true);
}

const char16_t* Text::GetKindName() const { return u"Text"; }

const Surface* Text::GetSurface() { return surface.get(); }

}  // namespace pw
