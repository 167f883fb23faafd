#include "platform/sdl/BarPlacement.h"

#include <algorithm>

namespace pw {

BarPlacement BarPlacement::Fit(int windowWidth, int windowHeight, bool barWanted) {
    BarPlacement p;
    p.picture = WindowLayout::Fit(windowWidth, windowHeight);
    if (!barWanted || windowWidth <= 0 || windowHeight <= 0) return p;
    const int bare = std::min(windowWidth / kDisplayWidth, windowHeight / kDisplayHeight);
    const int below =
        std::min(windowWidth / kDisplayWidth, windowHeight / (kDisplayHeight + StatusBar::kBelowHeight));
    const int beside =
        std::min(windowWidth / (kDisplayWidth + StatusBar::kBesideWidth), windowHeight / kDisplayHeight);
    const int factor = std::max(below, beside);
    if (factor < 1 || factor < bare) return p;
    p.barShown = true;
    p.factor = factor;
    p.side = below >= beside ? StatusBar::Side::Below : StatusBar::Side::Beside;
    const bool under = p.side == StatusBar::Side::Below;
    const int groupWidth = (kDisplayWidth + (under ? 0 : StatusBar::kBesideWidth)) * factor;
    const int groupHeight = (kDisplayHeight + (under ? StatusBar::kBelowHeight : 0)) * factor;
    const int left = (windowWidth - groupWidth) / 2, top = (windowHeight - groupHeight) / 2;
    p.picture = WindowLayout::Place(windowWidth, windowHeight, left, top, factor);
    const int pictureRight = left + kDisplayWidth * factor, pictureBottom = top + kDisplayHeight * factor;
    p.bar = under ? Rect{left, pictureBottom, pictureRight, top + groupHeight}
                  : Rect{pictureRight, top, left + groupWidth, pictureBottom};
    return p;
}

}  // namespace pw
