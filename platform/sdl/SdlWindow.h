#pragma once
// The real window: the game's display scaled nearest-neighbour and
// letterboxed as WindowLayout places it, presented through the window's own
// surface (no OpenGL). Mouse, touch or pen act as the stylus. A bar below or
// beside the picture (StatusBar) shows where the player is and the controls
// a click reaches, unless the window is opened without it.
#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/AtlasTextRenderer.h"
#include "platform/Platform.h"
#include "platform/sdl/BarPlacement.h"
#include "platform/sdl/PointerInput.h"
#include "platform/sdl/StatusBar.h"
#include "platform/sdl/WindowLayout.h"
#include "platform/sdl/XEventGate.h"

struct SDL_Rect;
struct SDL_Surface;
struct SDL_Window;
union SDL_Event;

namespace pw {

class SdlWindow : public Window {
public:
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Creates the window, still hidden; without the bar it shows the bare
    // picture alone.
    bool Open(const std::string& title, int scale, bool fullscreen, bool bar, std::string& error);
    // The icon from the data of a BMP file, its key colour transparent.
    void SetIcon(const uint8_t* bmpData, size_t size);
    void Show();
    void Raise();
    // Asks for Raise() on the window's own thread, through its event queue;
    // callable from any thread, once the window is open.
    void RequestRaise();
    // Asks for the window to close as its close icon does (the destroy
    // message); callable from any thread.
    void RequestClose();

    Size ClientSize() const override { return Size{kDisplayWidth, kDisplayHeight}; }
    void Present(const Surface& back, const Rect& area) override;
    void Invalidate() override;
    void PostDestroy() override;
    bool IsPrimaryButtonDown() override { return primaryDown_; }
    bool PollEvent(WindowEvent& event) override;
    bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) override;
    const Surface& Shown() const override { return shown_; }
    Surface* LentPicture() override { return &shown_; }
    void ShowFocusRing(const Rect& area) override;
    void SetFullscreen(bool on) override;
    bool IsFullscreen() const override;
    void ShowInstead(const Surface* picture, const Rect& area) override;
    void ShowHand(bool shown, int x, int y, bool down) override;
    void ShowCaption(const std::string& text) override;
    bool HasBar() const override;
    void ShowStatus(const std::string& place, bool soundOn) override;
    void FocusBarControl(BarControl control) override;

    // The most events taken from the window system per pass of the game's
    // loop: a flood is worked off a batch at a time, and a quit is seen
    // between two batches.
    static constexpr int kBatch = 16;
    static constexpr int kBatchesPerPoll = 16;

private:
    bool Translate(const SDL_Event& e, WindowEvent& out);
    // One pass through the gate: at most a batch of the window system's
    // events, translated into queue_. False once a quit was found.
    bool PumpBatch();
    // Woken by an event another thread pushes (a quit, a raise).
    static int WakeOnPush(void* self, SDL_Event* event);
    void Layout();
    // Scales the display area [left, right) x [top, bottom) of what is shown
    // into the window surface; false when nothing could be drawn.
    bool Draw(SDL_Surface* target, int left, int top, int right, int bottom);
    void PushPaint();
    // Draws the focus ring, if any, over the window; true when it drew.
    bool DrawRing(SDL_Surface* target);
    // Publishes the window pixels of the ring around area.
    void UpdateRing(const Rect& area);
    // Shows window pixels drawn: at once, or with the gate at the end of
    // the batch, in PublishDrawn.
    void Publish(const SDL_Rect& area);
    void PublishDrawn();
    // Draws the hand, if shown; true when it drew.
    bool DrawHand(SDL_Surface* target);
    // Publishes the window pixels of the display area.
    void UpdateArea(const Rect& area);
    // The window surface, when it is laid out as it is now.
    SDL_Surface* LaidOutSurface();
    // Scales the bar's picture into the window surface; true when it drew.
    bool DrawBar(SDL_Surface* target);
    // Draws the bar again and publishes it, after a change to what it shows.
    void UpdateBar(bool changed);
    // A press and release over the same control of the bar make its key.
    void PressBar(int windowX, int windowY);
    bool ReleaseBar(int windowX, int windowY, WindowEvent& out);

    SDL_Window* window_ = nullptr;
    std::unique_ptr<XEventGate> gate_;
    static constexpr size_t kMaxUnpublished = 16;  // beyond: their union
    std::vector<SDL_Rect> unpublished_;
    unsigned long ownThread_ = 0;
    // Set by other threads, for the next pass.
    std::atomic<bool> quitAsked_{false};
    std::atomic<bool> raiseAsked_{false};
    Surface shown_;
    std::deque<WindowEvent> queue_;
    uint32_t raiseEvent_ = 0;  // an SDL user event type
    WindowLayout layout_;
    BarPlacement placement_;
    AtlasTextRenderer barText_;
    std::unique_ptr<StatusBar> bar_;  // null without the bar
    BarControl barPressed_ = BarControl::None;
    std::string caption_;
    std::vector<int> sourceColumns_;  // the display column of each picture column
    PointerInput pointer_;
    bool primaryDown_ = false;
    Rect ring_{};
    std::string title_;
    // How to play's picture, shown instead of the game's while it plays.
    const Surface* instead_ = nullptr;
    bool hand_ = false, handDown_ = false;
    int handX_ = 0, handY_ = 0;
    // Where the window stood, and its size, before full screen.
    int windowedX_ = 0, windowedY_ = 0, windowedWidth_ = 0, windowedHeight_ = 0;
};

}  // namespace pw
