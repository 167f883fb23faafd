#include "elements/Button.h"

#include "scene/Screen.h"

namespace pw {

Button::Button(Screen* screen_, int32_t bitmapId_) : Image(screen_, bitmapId_) {
    faceWidth = width / 2;
    face = std::make_unique<Surface>(faceWidth, height);
    SetVisible(true);
}

Button::~Button() = default;

const char16_t* Button::GetKindName() const { return u"Button"; }

const Surface* Button::GetSurface() {
    const int32_t w = GetWidth(), h = GetHeight();
    CopyOpaque(*face, 0, 0, w, h, Picture(), pressed ? w : 0, 0);
    auto overlay = [&](Figure* part) {
        const Surface* picture = part->GetSurface();
        if (picture == nullptr) return;
        const int32_t pw_ = part->GetWidth(), ph = part->GetHeight();
        CopyKeyed(*face, (w - pw_) / 2, (h - ph) / 2, pw_, ph, *picture, 0, 0, KeyColour);
    };
    if (icon) overlay(icon.get());
    if (caption) overlay(caption.get());
    return face.get();
}

void Button::OnPenDown(int32_t px, int32_t py) {
    pressed = true;
    Invalidate();
    Figure::OnPenDown(px, py);
}

void Button::OnPenUp(int32_t px, int32_t py) {
    if (!pressed) return;
    pressed = false;
    Invalidate();
    Figure::OnPenUp(px, py);
}

void Button::Tick(uint32_t) {
    if (pressed && !GetPlatform().window.IsPrimaryButtonDown()) {
        pressed = false;
        Invalidate();
    }
}

void Button::SetCaption(const std::u16string& text, Pixel colour, const LogFont& font) {
    caption = std::make_unique<Text>(screen, text, colour, font);
    MarkStale();
}

void Button::SetIcon(int32_t iconId) {
    icon = std::make_unique<Image>(screen, iconId);
    MarkStale();
}

}  // namespace pw
