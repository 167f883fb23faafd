#include "platform/web/WebWindow.h"

#include <algorithm>

#include "platform/web/PageContract.h"

namespace pw {

namespace {

void DrawArea(PageView view, const Surface& picture, const Rect& area, std::vector<uint8_t>& rgba) {
    const int left = std::max(0, area.left), top = std::max(0, area.top);
    const int right = std::min(picture.Width(), area.right), bottom = std::min(picture.Height(), area.bottom);
    if (right <= left || bottom <= top) return;
    const int w = right - left, h = bottom - top;
    rgba.resize(static_cast<size_t>(w) * h * 4);
    uint8_t* out = rgba.data();
    for (int y = top; y < bottom; ++y) {
        const Pixel* row = picture.Row(y);
        for (int x = left; x < right; ++x) {
            const Pixel p = row[x];
            *out++ = static_cast<uint8_t>(p >> 16);
            *out++ = static_cast<uint8_t>(p >> 8);
            *out++ = static_cast<uint8_t>(p);
            *out++ = 255;
        }
    }
    pw_canvas_draw(static_cast<int>(view), rgba.data(), left, top, w, h);
}

}  // namespace

WebWindow::WebWindow(PageView view, std::function<void()> wake)
    : view_(view), wake_(std::move(wake)), shown_(kDisplayWidth, kDisplayHeight) {
    shown_.Fill(0, 0, kDisplayWidth, kDisplayHeight, Rgb(255, 255, 255));
    pw_display_size(static_cast<int>(view_), kDisplayWidth, kDisplayHeight);
}

void WebWindow::Present(const Surface& back, const Rect& area) {
    if (&back != &shown_)
        CopyOpaque(shown_, area.left, area.top, area.right - area.left, area.bottom - area.top, back,
                   area.left, area.top);
    DrawArea(view_, shown_, area, rgba_);
}

void WebWindow::Invalidate() {
    // Paint messages are merged, as a window system merges invalid areas.
    const bool pending = std::any_of(queue_.begin(), queue_.end(),
                                     [](const WindowEvent& e) { return e.type == WindowEvent::Type::Paint; });
    if (!pending) Post(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void WebWindow::PostDestroy() { Post(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false}); }

void WebWindow::Post(const WindowEvent& event) {
    if (event.type == WindowEvent::Type::PenDown) primaryDown_ = true;
    if (event.type == WindowEvent::Type::PenUp) primaryDown_ = false;
    queue_.push_back(event);
    wake_();
}

bool WebWindow::PollEvent(WindowEvent& event) {
    while (!queue_.empty()) {
        event = queue_.front();
        queue_.pop_front();
        if (event.type != WindowEvent::Type::KeyDown || !keyCheck_ || keyCheck_(event)) return true;
    }
    return false;
}

void WebWindow::Close() {
    queue_.clear();
    pw_window_closed(static_cast<int>(view_));
}

void ShowOnCanvas(PageView view, const Surface& picture) {
    std::vector<uint8_t> rgba;
    DrawArea(view, picture, Rect{0, 0, picture.Width(), picture.Height()}, rgba);
}

void WebWindow::ShowFocusRing(const Rect& area) {
    ringed_ = area;
    pw_focus_ring(static_cast<int>(view_), area.left, area.top, area.right, area.bottom);
}

}  // namespace pw
