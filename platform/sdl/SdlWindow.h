#pragma once
// The real window: the 240 x 320 display scaled by a whole factor,
// nearest-neighbour and letterboxed, presented through the window's own
// surface (no OpenGL). Mouse, touch or pen act as the stylus.
#include <deque>
#include <string>

#include "platform/Platform.h"

struct SDL_Window;
union SDL_Event;

namespace pw {

class SdlWindow : public Window {
public:
    static constexpr int kDisplayWidth = 240;
    static constexpr int kDisplayHeight = 320;

    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Creates the window, still hidden.
    bool Open(const std::string& title, int scale, bool fullscreen, std::string& error);
    // The icon from the data of a BMP file, its key colour transparent.
    void SetIcon(const uint8_t* bmpData, size_t size);
    void Show();
    void Raise();
    // Asks for Raise() on the window's own thread, through its event queue;
    // callable from any thread, once the window is open.
    void RequestRaise();

    Size ClientSize() const override { return Size{kDisplayWidth, kDisplayHeight}; }
    void Present(const Surface& back, const Rect& area) override;
    void Invalidate() override;
    void PostDestroy() override;
    bool IsPrimaryButtonDown() override { return primaryDown_; }
    bool PollEvent(WindowEvent& event) override;
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override;
    const Surface& Shown() const override { return shown_; }

private:
    bool Translate(const SDL_Event& e, WindowEvent& out);
    void Layout();
    void ToDisplay(int wx, int wy, int& x, int& y) const;
    void PushPaint();

    SDL_Window* window_ = nullptr;
    Surface shown_;
    std::deque<WindowEvent> queue_;
    uint32_t raiseEvent_ = 0;  // an SDL user event type
    int scale_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
    bool primaryDown_ = false;
};

}  // namespace pw
