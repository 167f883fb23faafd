#pragma once
// One line of text in one colour, drawn once on the key colour and sized
// exactly to the text.
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "scene/Figure.h"

namespace pw {

class Text : public Figure {
public:
    // Bold, 18 pixels high, Swiss family.
    static LogFont DefaultFont();

    Text(Screen* screen, const std::u16string& text, Pixel colour);
    Text(Screen* screen, const std::u16string& text, Pixel colour, const LogFont& font);
    // The picture of text: sized to it, its glyphs in colour on the key
    // colour. For a picture that shows text without being a text element.
    static std::unique_ptr<Surface> Render(TextRenderer& renderer, const LogFont& font,
                                           const std::u16string& text, Pixel colour);

    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;

    const std::u16string text;

private:
    std::unique_ptr<Surface> surface;
};

}  // namespace pw
