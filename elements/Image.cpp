#include "elements/Image.h"

#include "scene/Screen.h"

namespace pw {

Image::Image(Screen* screen_, int32_t bitmapId_) : Figure(screen_), bitmapId(bitmapId_) {
    SetX(0);
    SetY(0);
    bitmap = GetPlatform().resources.SharedBitmap(bitmapId & 0xFFFF);
    if (!bitmap) bitmap = std::make_shared<const Surface>(0, 0);
    SetWidth(bitmap->Width());
    SetHeight(bitmap->Height());
    SetVisible(true);
}

Image::~Image() = default;

const char16_t* Image::GetKindName() const { return u"Image"; }

const Surface* Image::GetSurface() { return bitmap.get(); }

}  // namespace pw
