#pragma once
// Lets the X server's pointer and key events into SDL a batch at a time.
// SDL handles all that the X connection holds in one go, and checks each
// key release for a key repeat by scanning every event the connection
// holds: a burst of tens of thousands of events (a flood of synthetic
// events) then costs the square of its length, and nothing, not even a
// quit, is seen before the whole burst is through. The gate has Xlib hand
// it the pointer and key events (with the crossings and focus changes among
// them) that it reads from the connection, whoever reads them, instead of
// queuing them; it merges pointer moves that follow one another, and puts
// at most a batch back at the head of the connection's queue for SDL's next
// pump, so that the work of each pass is bounded. Window events (exposure,
// size, the close button) and the input extension's are not held: SDL waits
// for some of them, and they reach it at its next pump, ahead of input
// still held. SDL's own pointer capture at every press and release costs two
// round trips to the server each; the gate leaves it off and captures the
// pointer only while a drag is outside the window. On a display other than
// X11 it does nothing.
#include <cstddef>
#include <cstdint>
#include <memory>

struct SDL_Window;

namespace pw {

class XEventGate {
public:
    explicit XEventGate(SDL_Window* window);
    ~XEventGate();
    XEventGate(const XEventGate&) = delete;
    XEventGate& operator=(const XEventGate&) = delete;

    // True on X11: events then go through Admit.
    bool Active() const;
    // Reads what the connection has, then puts up to batch held events back
    // for SDL_PumpEvents, one more when the last is a key release, so that
    // its repeat check sees the press that follows it.
    // A batch ends before a drag leaves the window, where the gate
    // captures the pointer, and after a release while it is captured.
    void Admit(size_t batch);
    // After SDL's pump: lets the pointer go once no button is held.
    void Settle();
    // Events held back for later passes.
    bool Holding() const;
    // Flushes the requests, reads what the connection has, and tells
    // whether any event is held or queued; then the game must not sleep.
    bool Pending();
    // Sleeps until the server sends an event, Wake is called or timeoutMs
    // pass (UINT32_MAX: no limit).
    void Wait(uint32_t timeoutMs);
    // Ends a Wait; callable from any thread.
    void Wake();
    // Events dropped because the gate's queue was full.
    size_t Dropped() const;

    // More than this many held events is a flood: further input is dropped.
    static constexpr size_t kMaxHeld = 1 << 17;

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

}  // namespace pw
