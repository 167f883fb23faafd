#pragma once
// The hand How to play draws at the recorded stylus: an open hand pointing
// with its finger while the stylus is up, the finger bent onto the glass
// while it presses. Drawn in window pixels over the picture, as the focus
// ring is, one block of window pixels per dot of its pattern, kept inside the
// picture; the fingertip's dot lies on the stylus.
#include <vector>

#include "platform/Surface.h"
#include "platform/sdl/FocusRing.h"
#include "platform/sdl/WindowLayout.h"

namespace pw {

class HandPointer {
public:
    static constexpr Pixel kOutline = Rgb(0, 0, 0);
    static constexpr Pixel kSkin = Rgb(255, 222, 173);

    // The blocks to fill, in order, for the stylus at display pixel (x, y).
    static std::vector<FocusRing::Stripe> Stripes(const WindowLayout& layout, int x, int y, bool down);
    // The display area whose picture covers every window pixel the hand at
    // (x, y) may have drawn on.
    static Rect Covered(const WindowLayout& layout, int x, int y);
};

}  // namespace pw
