#include "platform/sdl/FocusRing.h"

#include <algorithm>

namespace pw {

namespace {

bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect Clip(const Rect& r, const Rect& to) {
    return Rect{std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
                std::min(r.bottom, to.bottom)};
}

// The frame of width w just inside the outer rectangle, as four stripes.
void Frame(const Rect& outer, int w, Pixel colour, const Rect& picture, std::vector<FocusRing::Stripe>& out) {
    const Rect sides[] = {
        {outer.left, outer.top, outer.right, outer.top + w},
        {outer.left, outer.bottom - w, outer.right, outer.bottom},
        {outer.left, outer.top + w, outer.left + w, outer.bottom - w},
        {outer.right - w, outer.top + w, outer.right, outer.bottom - w},
    };
    for (const Rect& side : sides) {
        const Rect clipped = Clip(side, picture);
        if (!IsEmpty(clipped)) out.push_back({clipped, colour});
    }
}

}  // namespace

std::vector<FocusRing::Stripe> FocusRing::Stripes(const WindowLayout& layout, const Rect& area) {
    std::vector<Stripe> stripes;
    if (IsEmpty(area) || layout.Empty()) return stripes;
    const Rect picture{layout.Left(), layout.Top(), layout.Left() + layout.Width(),
                       layout.Top() + layout.Height()};
    const Rect inner{layout.ColumnStart(area.left), layout.RowStart(area.top), layout.ColumnStart(area.right),
                     layout.RowStart(area.bottom)};
    Rect outer{inner.left - kWidth, inner.top - kWidth, inner.right + kWidth, inner.bottom + kWidth};
    Frame(outer, kEdge, kEdgeColour, picture, stripes);
    outer = Rect{outer.left + kEdge, outer.top + kEdge, outer.right - kEdge, outer.bottom - kEdge};
    Frame(outer, kBand, kBandColour, picture, stripes);
    outer = Rect{outer.left + kBand, outer.top + kBand, outer.right - kBand, outer.bottom - kBand};
    Frame(outer, kEdge, kEdgeColour, picture, stripes);
    return stripes;
}

Rect FocusRing::Covered(const WindowLayout& layout, const Rect& area) {
    if (IsEmpty(area) || layout.Empty()) return Rect{};
    // The ring's width in display pixels, rounded up, and one more for the
    // rounding of the picture's columns and rows; a picture scaled down
    // shows several display pixels in one window pixel.
    const int dx = (kWidth * kDisplayWidth + layout.Width() - 1) / layout.Width() + 1;
    const int dy = (kWidth * kDisplayHeight + layout.Height() - 1) / layout.Height() + 1;
    return Clip(Rect{area.left - dx, area.top - dy, area.right + dx, area.bottom + dy},
                Rect{0, 0, kDisplayWidth, kDisplayHeight});
}

}  // namespace pw
