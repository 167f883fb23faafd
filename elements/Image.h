#pragma once
// Shows one bitmap resource unchanged; the base of the kinds that compose
// something from a bitmap. The picture is decoded when first drawn, so that
// a screen not yet shown, or a panel never opened, holds none.
#include <memory>

#include "scene/Figure.h"

namespace pw {

class Image : public Figure {
public:
    Image(Screen* screen, int32_t bitmapId);
    ~Image() override;
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;
    void ReleasePicture() override { bitmap.reset(); }

    int32_t bitmapId;

protected:
    // The picture, decoded now if it is not yet; shared with every element
    // that shows the same bitmap; empty when the id names no bitmap.
    const Surface& Picture();

    std::shared_ptr<const Surface> bitmap;  // null until Picture()
};

}  // namespace pw
