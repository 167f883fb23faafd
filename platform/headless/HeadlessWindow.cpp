#include "platform/headless/HeadlessWindow.h"

#include <algorithm>

namespace pw {

HeadlessWindow::HeadlessWindow(int width, int height) : shown_(width, height) {
    shown_.Fill(0, 0, width, height, Rgb(255, 255, 255));
}

void HeadlessWindow::Present(const Surface& back, const Rect& area) {
    CopyOpaque(shown_, area.left, area.top, area.right - area.left, area.bottom - area.top, back, area.left,
               area.top);
    ++presentCount;
    lastPresented = area;
    if (onPresent) onPresent(area);
}

void HeadlessWindow::Invalidate() {
    // Paint messages are merged, as the window system merges invalid areas.
    bool pending = std::any_of(queue_.begin(), queue_.end(),
                               [](const WindowEvent& e) { return e.type == WindowEvent::Type::Paint; });
    if (!pending) Post(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void HeadlessWindow::PostDestroy() { Post(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false}); }

void HeadlessWindow::Post(const WindowEvent& event) { queue_.push_back(event); }

bool HeadlessWindow::WaitEvent(WindowEvent& event, uint32_t timeoutMs) {
    if (onWait) onWait(timeoutMs);
    return PollEvent(event);
}

bool HeadlessWindow::PollEvent(WindowEvent& event) {
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
}

}  // namespace pw
