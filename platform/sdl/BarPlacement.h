#pragma once
// Where the picture and the bar stand in a window of any size. The bar goes
// below the picture or beside it, whichever leaves the picture the larger
// whole factor (below when both do), and both are scaled by that factor and
// centred together. A bar that would cost the picture a factor it has
// without one is left out: the game keeps the room, and the window shows
// the bare picture as WindowLayout fits it.
#include "platform/sdl/StatusBar.h"
#include "platform/sdl/WindowLayout.h"

namespace pw {

struct BarPlacement {
    WindowLayout picture;
    bool barShown = false;
    StatusBar::Side side = StatusBar::Side::Below;
    int factor = 0;  // the bar's scale, the picture's when shown
    Rect bar{};      // window pixels, right and bottom exclusive

    // barWanted false gives the bare picture whatever the size.
    static BarPlacement Fit(int windowWidth, int windowHeight, bool barWanted);
    bool InBar(int windowX, int windowY) const {
        return barShown && windowX >= bar.left && windowX < bar.right && windowY >= bar.top &&
               windowY < bar.bottom;
    }
};

}  // namespace pw
