#pragma once
// The window in the browser: the page's canvas, sized to the game's display. The page's own
// script turns pointer events into messages (Post) and scales the canvas;
// this class keeps the message queue, draws presented areas onto the canvas
// and wakes the loop when a message arrives. Several games share the page's
// one WebAssembly instance, each drawing as a view of its own, and the page
// decides which view the canvas shows.
#include <deque>
#include <functional>
#include <vector>

#include "platform/Platform.h"

namespace pw {

// The games the page shows on its canvas: the player's (or a puzzle set the
// player plays), How to play's, and the last replay's picture.
enum class PageView { Player = 0, Shown = 1, Replay = 2 };

class WebWindow : public Window {
public:
    // wake is called whenever a message is queued, so that the loop that
    // sleeps while nothing happens runs again.
    WebWindow(PageView view, std::function<void()> wake);

    Size ClientSize() const override { return Size{kDisplayWidth, kDisplayHeight}; }
    void Present(const Surface& back, const Rect& area) override;
    void Invalidate() override;
    void PostDestroy() override;
    bool IsPrimaryButtonDown() override { return primaryDown_; }
    bool PollEvent(WindowEvent& event) override;
    // The browser never lets a page wait: this only takes what is there.
    bool WaitEvent(WindowEvent& event, uint32_t) override { return PollEvent(event); }
    const Surface& Shown() const override { return shown_; }
    Surface* LentPicture() override { return &shown_; }
    // The page draws the ring over the canvas, never into the picture.
    void ShowFocusRing(const Rect& area) override;
    // The area the ring shows now, empty when none.
    const Rect& Ringed() const { return ringed_; }
    // Asked for each key as the loop takes it, in the order the keys came:
    // false keeps the key from the game.
    void SetKeyCheck(std::function<bool(const WindowEvent&)> check) { keyCheck_ = std::move(check); }

    // Queues a message from the page. A press and a release also set what
    // IsPrimaryButtonDown answers from now on, as the button's state does.
    void Post(const WindowEvent& event);
    // The game has closed its window: the page shows that it has ended.
    void Close();

private:
    PageView view_;
    std::function<void()> wake_;
    std::deque<WindowEvent> queue_;
    Surface shown_;
    std::vector<uint8_t> rgba_;  // the area being drawn, in the canvas's byte order
    bool primaryDown_ = false;
    Rect ringed_{};
    std::function<bool(const WindowEvent&)> keyCheck_;
};

// Draws a whole picture onto the page's canvas as the view's (a replay's last picture).
void ShowOnCanvas(PageView view, const Surface& picture);

}  // namespace pw
