#include "Artwork.h"
#include "BalanceArt.h"

namespace pw::tool {

namespace {

const Rgb kBackdrop{30, 46, 90};
const Rgb kBackdropEdge{14, 20, 44};
const Rgb kGoldDark{156, 104, 30};
const Rgb kGold{232, 172, 52};
const Rgb kGoldLight{255, 228, 124};

// A rounded dark tile behind the scale, so the icon reads on light and dark desktops alike.
Canvas Backdrop(int size, double radius) {
    Canvas tile(size, size);
    tile.FillRect(static_cast<int>(radius), 0, size - 2 * static_cast<int>(radius), size, kBackdrop);
    tile.FillRect(0, static_cast<int>(radius), size, size - 2 * static_cast<int>(radius), kBackdrop);
    for (double cx : {radius, size - radius})
        for (double cy : {radius, size - radius}) tile.FillCircle(cx, cy, radius, kBackdrop);
    tile.EdgeShapes(kBackdropEdge);
    return tile;
}

// At 16 pixels every pixel is placed by hand: a level beam, a column, two pans on cords.
Canvas SmallIcon() {
    Canvas icon = Backdrop(16, 3);
    icon.FillRect(2, 3, 12, 1, kGoldLight);  // beam
    icon.FillRect(7, 2, 2, 1, kGold);        // pivot cap
    icon.FillRect(7, 4, 2, 8, kGold);        // column
    icon.FillRect(8, 4, 1, 8, kGoldDark);
    icon.FillRect(5, 12, 6, 1, kGoldLight);  // foot
    icon.FillRect(4, 13, 8, 1, kGold);
    for (int side = 0; side < 2; ++side) {
        const int cx = side == 0 ? 3 : 12;
        icon.Set(cx - 1, 5, kGoldDark);
        icon.Set(cx + 1, 5, kGoldDark);
        icon.Set(cx - 2, 6 + side, kGoldDark);
        icon.Set(cx + 2, 6 + side, kGoldDark);
        icon.FillRect(cx - 2, 7 + side, 5, 1, kGoldLight);  // pan, the right one a little lower
        icon.FillRect(cx - 1, 8 + side, 3, 1, kGold);
    }
    return icon;
}

Canvas DrawnIcon(int size) {
    const bool large = size >= 64;
    Canvas icon = Backdrop(size, large ? 20 : 5);
    // Small sizes use the dark gold as the outline so thin parts keep their colour.
    const BalanceColours colours{large ? Rgb{16, 10, 30} : kGoldDark,
                                 kGoldDark,
                                 kGold,
                                 kGoldLight,
                                 large ? Rgb{84, 46, 24} : kGoldDark,
                                 large ? Rgb{134, 82, 40} : kGold,
                                 large ? Rgb{180, 118, 62} : kGoldLight,
                                 large ? Rgb{190, 196, 214} : kGoldLight,
                                 Rgb{238, 226, 194}};
    BalanceShape s;
    if (large) {
        s.pivotX = 63, s.pivotY = 34, s.arm = 40, s.tilt = 8, s.panDrop = 50, s.panHalfWidth = 20;
        s.panDepth = 8, s.beamWidth = 7, s.beamOverhang = 6, s.knobRadius = 4.5, s.ringRadius = 2.5;
        s.pivotRadius = 6, s.dialRadius = 16, s.needleLength = 13, s.postHalfWidth = 4;
        s.baseTop = 100, s.baseBottom = 114, s.baseHalfWidth = 24, s.cordInset = 2;
    } else {
        s.pivotX = 15, s.pivotY = 8, s.arm = 10, s.tilt = 2, s.panDrop = 12, s.panHalfWidth = 5;
        s.panDepth = 3, s.beamWidth = 2.5, s.beamOverhang = 2, s.knobRadius = 1.3, s.ringRadius = 0.6;
        s.pivotRadius = 2.2, s.dialRadius = 0, s.needleLength = 0, s.postHalfWidth = 1;
        s.baseTop = 24, s.baseBottom = 28, s.baseHalfWidth = 8, s.cordInset = 1;
    }
    DrawBalance(icon, s, colours);
    if (large) {  // a weight on the lowered pan
        Canvas piece(size, size);
        const int surface = LeftPanSurface(s);
        piece.FillRect(s.pivotX - s.arm - 7, surface - 16, 15, 16, kGold);
        piece.FillRect(s.pivotX - s.arm - 5, surface - 16, 3, 16, kGoldLight);
        piece.EdgeShapes(Rgb{16, 10, 30});
        icon.Blit(piece, 0, 0);
    }
    return icon;
}

}  // namespace

Canvas MakeIcon(int size) { return size <= 16 ? SmallIcon() : DrawnIcon(size); }

}  // namespace pw::tool
