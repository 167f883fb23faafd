#include "elements/Image.h"

#include "scene/Screen.h"

namespace pw {

Image::Image(Screen* screen_, int32_t bitmapId_) : Figure(screen_), bitmapId(bitmapId_) {
    SetX(0);
    SetY(0);
    const Size size = GetPlatform().resources.BitmapSize(bitmapId & 0xFFFF);
    SetWidth(size.width);
    SetHeight(size.height);
    SetVisible(true);
}

Image::~Image() = default;

const char16_t* Image::GetKindName() const { return u"Image"; }

const Surface* Image::GetSurface() { return &Picture(); }

const Surface& Image::Picture() {
    if (!bitmap) {
        bitmap = GetPlatform().resources.SharedBitmap(bitmapId & 0xFFFF);
        if (!bitmap) bitmap = std::make_shared<const Surface>(0, 0);
    }
    return *bitmap;
}

}  // namespace pw
