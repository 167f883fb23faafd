#pragma once
// A weight piece: its bitmap with its number (or a red question mark) drawn
// in the middle. The number can be hidden and typed in digit by digit.
#include <memory>

#include "elements/Image.h"
#include "platform/Platform.h"

namespace pw {

class Weight : public Image {
public:
    // The colour of the question mark: red 132, green 0, blue 0.
    static constexpr Pixel kQuestionMarkColour = Rgb(132, 0, 0);

    Weight(Screen* screen, int32_t value, int32_t bitmapId, bool showNumber);
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;

    // Recomposes from the bitmap, value and showNumber; no repaint request.
    void Render();
    // Draws "?" instead of the number, whatever showNumber says.
    void RenderQuestionMark();
    void SetShowNumber(bool flag);
    // Appends a typed digit; at most two are taken.
    void EnterDigit(int32_t digit);

    int32_t value;
    int32_t initialValue;
    int32_t typedValue = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;
    LogFont labelFont;
    Pixel labelColour = Rgb(0, 0, 0);
    bool showNumber;

private:
    void Compose(const std::u16string* label, Pixel colour);
    std::unique_ptr<Surface> picture;
};

}  // namespace pw
