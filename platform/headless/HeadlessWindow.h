#pragma once
// A window that is only a picture in memory. Messages are put into its queue
// by whoever drives it (a test or a replay).
#include <deque>
#include <functional>

#include "platform/Platform.h"

namespace pw {

class HeadlessWindow : public Window {
public:
    HeadlessWindow(int width = kDisplayWidth, int height = kDisplayHeight);

    Size ClientSize() const override { return Size{shown_.Width(), shown_.Height()}; }
    void Present(const Surface& back, const Rect& area) override;
    void Invalidate() override;
    void PostDestroy() override;
    bool IsPrimaryButtonDown() override { return primaryDown_; }
    bool PollEvent(WindowEvent& event) override;
    // Never blocks: calls the wait hook, if any, then takes what is queued.
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override;
    const Surface& Shown() const override { return shown_; }
    // The ring and the full-screen state are only remembered: nothing is
    // drawn, so the picture stays the game's own.
    void ShowFocusRing(const Rect& area) override { focusRing = area; }
    void SetFullscreen(bool on) override { fullscreen = on; }
    bool IsFullscreen() const override { return fullscreen; }

    // Queues a message as the window system would deliver it.
    void Post(const WindowEvent& event);
    void SetPrimaryButtonDown(bool down) { primaryDown_ = down; }
    // How many times anything was copied to the window, and the last area.
    int presentCount = 0;
    Rect lastPresented{};
    // Called with the time limit of each wait, where a real window would
    // sleep; it may post what the wait would have delivered.
    std::function<void(uint32_t timeoutMs)> onWait;
    // Called with each area copied to the window, once it is there: how a
    // game played in memory is shown in another window.
    std::function<void(const Rect& area)> onPresent;
    Rect focusRing{};
    bool fullscreen = false;

private:
    Surface shown_;
    std::deque<WindowEvent> queue_;
    bool primaryDown_ = false;
};

}  // namespace pw
