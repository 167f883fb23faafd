#include "elements/Background.h"

#include "scene/Screen.h"

namespace pw {

Background::Background(Screen* screen_) : Figure(screen_) {
    SetWidth(screen->width);
    SetHeight(screen->height);
    canvas = std::make_unique<Surface>(screen->width, screen->height);
    ClearSurface(*canvas);
}

const char16_t* Background::GetKindName() const { return u"Background"; }

const Surface* Background::GetSurface() { return canvas.get(); }

Surface& Background::Canvas() {
    MarkStale();
    return *canvas;
}

}  // namespace pw
