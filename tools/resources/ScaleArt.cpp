#include "Artwork.h"
#include "BalanceArt.h"

namespace pw::tool {

namespace {

const BalanceColours kBrassScale{
    {44, 28, 16},  {160, 106, 30}, {214, 160, 56},  {252, 222, 130}, {86, 48, 24},
    {138, 84, 40}, {184, 122, 64}, {196, 178, 128}, {238, 228, 198},
};

// Frame 0 leans left (left pan down), frame 1 is level, frame 2 leans right.
BalanceShape ShapeForFrame(int frame) {
    BalanceShape shape;
    shape.tilt = (1 - frame) * GameScale::kTilt;
    return shape;
}

Canvas ScaleStrip() {
    Canvas strip(3 * GameScale::kFrameWidth, GameScale::kFrameHeight);
    for (int frame = 0; frame < 3; ++frame) {
        Canvas face(GameScale::kFrameWidth, GameScale::kFrameHeight);
        DrawBalance(face, ShapeForFrame(frame), kBrassScale);
        strip.Blit(face, frame * GameScale::kFrameWidth, 0, false);
    }
    return strip;
}

// The flash is shown at (10, 160) over the level scale; each of its frames paints both pans' dishes,
// one yellow and one pale blue, swapping from frame to frame.
Canvas FlashStrip() {
    constexpr int kFlashX = 10, kFlashY = 160, kFrameWidth = 222, kFrames = 5;
    const BalanceShape level = ShapeForFrame(1);
    const std::vector<int> profile = PanProfile(level.panHalfWidth, level.panDepth);
    const Rgb yellow{255, 226, 40}, yellowEdge{255, 250, 190};
    const Rgb blue{168, 210, 255}, blueEdge{236, 246, 255};
    Canvas strip(kFrameWidth * kFrames, 11);
    for (int frame = 0; frame < kFrames; ++frame) {
        const bool leftYellow = frame % 2 == 0;
        const int origin = frame * kFrameWidth - kFlashX;
        Canvas face(strip.Width(), strip.Height());
        FillPanShape(face, origin + level.pivotX - level.arm, LeftPanSurface(level) - kFlashY, profile,
                     leftYellow ? yellow : blue, leftYellow ? yellowEdge : blueEdge);
        FillPanShape(face, origin + level.pivotX + level.arm, RightPanSurface(level) - kFlashY, profile,
                     leftYellow ? blue : yellow, leftYellow ? blueEdge : yellowEdge);
        strip.Blit(face, 0, 0);
    }
    return strip;
}

}  // namespace

std::vector<NumberedBitmap> MakeScaleArt() { return {{301, 4, ScaleStrip()}, {305, 4, FlashStrip()}}; }

}  // namespace pw::tool
