#include "platform/sdl/WindowLayout.h"

#include <algorithm>
#include <cstdint>

namespace pw {

WindowLayout WindowLayout::Fit(int windowWidth, int windowHeight) {
    WindowLayout layout;
    layout.windowWidth_ = std::max(0, windowWidth);
    layout.windowHeight_ = std::max(0, windowHeight);
    const int64_t w = layout.windowWidth_, h = layout.windowHeight_;
    const int64_t factor = std::min(w / kDisplayWidth, h / kDisplayHeight);
    if (factor >= 1) {
        layout.width_ = static_cast<int>(kDisplayWidth * factor);
        layout.height_ = static_cast<int>(kDisplayHeight * factor);
    } else if (w * kDisplayHeight <= h * kDisplayWidth) {
        // Narrower than the display's shape: the width decides.
        layout.width_ = static_cast<int>(w);
        layout.height_ = static_cast<int>(w * kDisplayHeight / kDisplayWidth);
    } else {
        layout.height_ = static_cast<int>(h);
        layout.width_ = static_cast<int>(h * kDisplayWidth / kDisplayHeight);
    }
    layout.left_ = (layout.windowWidth_ - layout.width_) / 2;
    layout.top_ = (layout.windowHeight_ - layout.height_) / 2;
    return layout;
}

WindowLayout WindowLayout::Place(int windowWidth, int windowHeight, int left, int top, int factor) {
    WindowLayout layout;
    layout.windowWidth_ = std::max(0, windowWidth);
    layout.windowHeight_ = std::max(0, windowHeight);
    layout.left_ = left;
    layout.top_ = top;
    layout.width_ = kDisplayWidth * factor;
    layout.height_ = kDisplayHeight * factor;
    return layout;
}

int WindowLayout::ColumnStart(int x) const {
    // The smallest column c with SourceColumn(c) >= x.
    return left_ + static_cast<int>((int64_t{x} * width_ + kDisplayWidth - 1) / kDisplayWidth);
}

int WindowLayout::RowStart(int y) const {
    return top_ + static_cast<int>((int64_t{y} * height_ + kDisplayHeight - 1) / kDisplayHeight);
}

int WindowLayout::SourceColumn(int windowX) const {
    if (width_ <= 0) return 0;
    return static_cast<int>(int64_t{windowX - left_} * kDisplayWidth / width_);
}

int WindowLayout::SourceRow(int windowY) const {
    if (height_ <= 0) return 0;
    return static_cast<int>(int64_t{windowY - top_} * kDisplayHeight / height_);
}

bool WindowLayout::InPicture(int windowX, int windowY) const {
    return windowX >= left_ && windowX < left_ + width_ && windowY >= top_ && windowY < top_ + height_;
}

void WindowLayout::ToDisplay(int windowX, int windowY, int& x, int& y) const {
    const int cx = std::clamp(windowX, left_, std::max(left_, left_ + width_ - 1));
    const int cy = std::clamp(windowY, top_, std::max(top_, top_ + height_ - 1));
    x = std::clamp(SourceColumn(cx), 0, kDisplayWidth - 1);
    y = std::clamp(SourceRow(cy), 0, kDisplayHeight - 1);
}

}  // namespace pw
