#include "platform/sdl/HandPointer.h"

#include <algorithm>

namespace pw {

namespace {

constexpr int kRows = 14, kColumns = 14;
// '#' outline, 'o' skin; the fingertip is row 1, column 5.
constexpr int kTipRow = 1, kTipColumn = 5;
const char* const kOpen[kRows] = {
    "....##........", "...#oo#.......", "...#oo#.......", "...#oo###.....", "...#oo#oo##...",
    ".###oo#oo#o##.", "#oo#oooooooo#.", "#ooooooooooo#.", ".#oooooooooo#.", ".#ooooooooo#..",
    "..#oooooooo#..", "...#ooooooo#..", "...#ooooooo#..", "...#########..",
};
const char* const kPressing[kRows] = {
    "..............", "....#o#.......", "...#oo#.......", "...#oo###.....", "...#oo#oo##...",
    ".###oo#oo#o##.", "#oo#oooooooo#.", "#ooooooooooo#.", ".#oooooooooo#.", ".#ooooooooo#..",
    "..#oooooooo#..", "...#ooooooo#..", "...#ooooooo#..", "...#########..",
};

// Window pixels per dot: about one display pixel, never less than one.
int Dot(const WindowLayout& layout) { return std::max(1, layout.Width() / kDisplayWidth); }

// The window pixel of the fingertip's dot's corner.
void Origin(const WindowLayout& layout, int x, int y, int& left, int& top) {
    const int dot = Dot(layout);
    const int cx = (layout.ColumnStart(x) + layout.ColumnStart(x + 1)) / 2;
    const int cy = (layout.RowStart(y) + layout.RowStart(y + 1)) / 2;
    left = cx - kTipColumn * dot - dot / 2;
    top = cy - kTipRow * dot - dot / 2;
}

}  // namespace

std::vector<FocusRing::Stripe> HandPointer::Stripes(const WindowLayout& layout, int x, int y, bool down) {
    std::vector<FocusRing::Stripe> out;
    if (layout.Empty()) return out;
    const int dot = Dot(layout);
    int left = 0, top = 0;
    Origin(layout, x, y, left, top);
    const Rect picture{layout.Left(), layout.Top(), layout.Left() + layout.Width(),
                       layout.Top() + layout.Height()};
    const char* const* pattern = down ? kPressing : kOpen;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const char c = pattern[row][column];
            if (c == '.') continue;
            const Rect block{std::max(picture.left, left + column * dot),
                             std::max(picture.top, top + row * dot),
                             std::min(picture.right, left + (column + 1) * dot),
                             std::min(picture.bottom, top + (row + 1) * dot)};
            if (block.right > block.left && block.bottom > block.top)
                out.push_back({block, c == '#' ? kOutline : kSkin});
        }
    }
    return out;
}

Rect HandPointer::Covered(const WindowLayout& layout, int x, int y) {
    if (layout.Empty()) return Rect{};
    // The hand's size in display pixels, rounded up, and one more each side
    // for the rounding of the picture's columns and rows.
    const int dot = Dot(layout);
    const int dx = (kColumns * dot * kDisplayWidth + layout.Width() - 1) / layout.Width() + 1;
    const int dy = (kRows * dot * kDisplayHeight + layout.Height() - 1) / layout.Height() + 1;
    return Rect{std::max(0, x - dx), std::max(0, y - dy), std::min(kDisplayWidth, x + dx + 1),
                std::min(kDisplayHeight, y + dy + 1)};
}

}  // namespace pw
