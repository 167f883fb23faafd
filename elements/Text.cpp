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
    surface = Render(GetPlatform().text, font, text, colour);
    SetWidth(surface->Width());
    SetHeight(surface->Height());
    SetVisible(true);
}

std::unique_ptr<Surface> Text::Render(TextRenderer& renderer, const LogFont& font, const std::u16string& text,
                                      Pixel colour) {
    const Size extent = renderer.Measure(font, text);
    auto picture = std::make_unique<Surface>(extent.width, extent.height);
    renderer.Draw(font, text, colour, KeyColour, *picture);
    return picture;
}

const char16_t* Text::GetKindName() const { return u"Text"; }

const Surface* Text::GetSurface() { return surface.get(); }

}  // namespace pw
