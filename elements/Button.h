#pragma once
// A bitmap with a normal face (left half) and a pressed face (right half),
// with an optional centred icon and caption.
#include <memory>
#include <string>

#include "elements/Image.h"
#include "elements/Text.h"

namespace pw {

class Button : public Image {
public:
    Button(Screen* screen, int32_t bitmapId);
    ~Button() override;
    void Tick(uint32_t now) override;
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;
    void OnPenDown(int32_t px, int32_t py) override;
    void OnPenUp(int32_t px, int32_t py) override;
    int32_t GetWidth() const override { return faceWidth; }

    // Neither requests a repaint: set them before the button is first drawn.
    void SetCaption(const std::u16string& text, Pixel colour, const LogFont& font);
    void SetIcon(int32_t bitmapId);

    bool pressed = false;
    int32_t faceWidth = 0;
    std::unique_ptr<Text> caption;
    std::unique_ptr<Image> icon;

private:
    std::unique_ptr<Surface> face;
};

}  // namespace pw
