#include "elements/Weight.h"

#include "elements/Text.h"
#include "platform/TextFormat.h"
#include "scene/Screen.h"

namespace pw {

Weight::Weight(Screen* screen_, int32_t value_, int32_t bitmapId_, bool showNumber_)
    : Image(screen_, bitmapId_), value(value_), initialValue(value_), showNumber(showNumber_) {
    picture = std::make_unique<Surface>(width, height);
    labelFont = BoldSwissFont(18);
    Render();
}

const char16_t* Weight::GetKindName() const { return u"Weight"; }

const Surface* Weight::GetSurface() { return picture.get(); }

void Weight::Compose(const std::u16string* label, Pixel colour) {
    CopyOpaque(*picture, 0, 0, GetWidth(), GetHeight(), Picture(), 0, 0);
    if (label == nullptr) return;
    // The label's picture alone, not a text element: an element, even one
    // never put on the scene, asks the screen to repaint where it stands, and
    // a new text stands at the screen's top left corner.
    const std::unique_ptr<Surface> text = Text::Render(GetPlatform().text, labelFont, *label, colour);
    const int32_t tw = text->Width(), th = text->Height();
    CopyKeyed(*picture, (GetWidth() - tw) / 2, (GetHeight() - th) / 2, tw, th, *text, 0, 0, KeyColour);
}

void Weight::Render() {
    if (showNumber) {
        const std::u16string label = FormatInt(value);
        Compose(&label, labelColour);
    } else {
        Compose(nullptr, labelColour);
    }
    MarkStale();
}

void Weight::RenderQuestionMark() {
    const std::u16string label = u"?";
    Compose(&label, kQuestionMarkColour);
    Invalidate();
}

void Weight::SetShowNumber(bool flag) {
    if (flag == showNumber) return;
    showNumber = flag;
    Render();
    Invalidate();
}

void Weight::EnterDigit(int32_t digit) {
    if (typedValue == 0) {
        value = digit;
        typedValue = digit;
    } else if (typedValue < 10) {
        typedValue = typedValue * 10 + digit;
        value = typedValue;
    } else {
        return;
    }
    Render();
    Invalidate();
}

}  // namespace pw
