#pragma once
// Where the game's display stands in a window of any size: scaled by the
// largest whole factor that fits, or, in a window smaller than the display,
// scaled down to fit; aspect kept, centred, black bars around. Window pixels
// map to display pixels nearest-neighbour, the same way for painting and
// for the pointer.
#include "platform/Platform.h"

namespace pw {

class WindowLayout {
public:
    WindowLayout() = default;
    static WindowLayout Fit(int windowWidth, int windowHeight);
    // The picture scaled by a whole factor with its top-left corner at
    // (left, top), for a window that keeps room beside it.
    static WindowLayout Place(int windowWidth, int windowHeight, int left, int top, int factor);

    int WindowWidth() const { return windowWidth_; }
    int WindowHeight() const { return windowHeight_; }
    // The picture's rectangle in the window.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // The first window column (row) that shows display column x (row y);
    // x = 240 (y = 320) gives the column (row) after the picture.
    int ColumnStart(int x) const;
    int RowStart(int y) const;
    // The display column (row) that a window column (row) of the picture shows.
    int SourceColumn(int windowX) const;
    int SourceRow(int windowY) const;

    bool InPicture(int windowX, int windowY) const;
    // The display pixel under a window pixel, clamped to the display: a
    // stylus cannot leave the screen.
    void ToDisplay(int windowX, int windowY, int& x, int& y) const;

private:
    int windowWidth_ = 0, windowHeight_ = 0;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace pw
