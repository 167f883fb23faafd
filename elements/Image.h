#pragma once
// Shows one bitmap resource unchanged; the base of the kinds that compose
// something from a bitmap.
#include <memory>

#include "scene/Figure.h"

namespace pw {

class Image : public Figure {
public:
    Image(Screen* screen, int32_t bitmapId);
    ~Image() override;
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;

    int32_t bitmapId;

protected:
    // The loaded picture, shared with every element that shows the same
    // bitmap; an empty one when the id names no bitmap.
    std::shared_ptr<const Surface> bitmap;
};

}  // namespace pw
