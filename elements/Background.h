#pragma once
// A screen-sized canvas that starts fully transparent.
#include <memory>

#include "scene/Figure.h"

namespace pw {

class Background : public Figure {
public:
    explicit Background(Screen* screen);
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;
    // For drawing on: what is drawn before the next paint is composed then,
    // and shown with the next repaint of its area.
    Surface& Canvas();

private:
    std::unique_ptr<Surface> canvas;
};

}  // namespace pw
