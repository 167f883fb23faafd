#pragma once
// Where the keyboard's focus ring lies in the window: a frame drawn around a
// display area in window pixels, so that it stays a crisp few pixels wide at
// any scale, outside the game's own picture. A dark edge on either side of a
// white band keeps it visible on the dark wall and the bright pans alike.
#include <vector>

#include "platform/Surface.h"
#include "platform/sdl/WindowLayout.h"

namespace pw {

class FocusRing {
public:
    static constexpr int kEdge = 1;  // window pixels of each dark edge
    static constexpr int kBand = 3;  // window pixels of the white band
    static constexpr int kWidth = 2 * kEdge + kBand;
    static constexpr Pixel kEdgeColour = Rgb(0, 0, 0);
    static constexpr Pixel kBandColour = Rgb(255, 255, 255);

    struct Stripe {
        Rect window;  // right and bottom exclusive
        Pixel colour;
    };

    // The stripes of the ring around the display area, to be filled in
    // order; kept inside the picture. None for an empty area.
    static std::vector<Stripe> Stripes(const WindowLayout& layout, const Rect& area);
    // The display area whose picture covers every window pixel the ring
    // around area may have drawn on, clipped to the display.
    static Rect Covered(const WindowLayout& layout, const Rect& area);
};

}  // namespace pw
