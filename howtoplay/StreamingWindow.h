#pragma once
// A window that also sends every area it is given to show, at the clock's
// time, as a frame record (FrameStream) to another process: how a game
// played headless for How to play is seen in the player's window. Everything
// else is the inner window's.
#include <string>

#include "platform/OutputStream.h"
#include "platform/Platform.h"

namespace pw {

class StreamingWindow : public Window {
public:
    StreamingWindow(Window& inner, Clock& clock, OutputStream& out)
        : inner_(inner), clock_(clock), out_(out) {}

    Size ClientSize() const override { return inner_.ClientSize(); }
    void Present(const Surface& back, const Rect& area) override;
    Surface* LentPicture() override { return inner_.LentPicture(); }
    void Invalidate() override { inner_.Invalidate(); }
    void PostDestroy() override { inner_.PostDestroy(); }
    bool IsPrimaryButtonDown() override { return inner_.IsPrimaryButtonDown(); }
    bool PollEvent(WindowEvent& event) override { return inner_.PollEvent(event); }
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override {
        return inner_.WaitEvent(event, timeoutMs);
    }
    const Surface& Shown() const override { return inner_.Shown(); }
    void ShowFocusRing(const Rect& area) override { inner_.ShowFocusRing(area); }

    // The first failed write, if any: the reader went away, and nothing more
    // was sent.
    const std::string& Error() const { return error_; }

private:
    Window& inner_;
    Clock& clock_;
    OutputStream& out_;
    std::string error_;
};

}  // namespace pw
