#include "platform/sdl/XEventGate.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <deque>
#include <string>

#ifdef SDL_VIDEO_DRIVER_X11
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pw {

#ifdef SDL_VIDEO_DRIVER_X11

namespace {

// Pointer and key input: what a flood is made of, and what the gate holds.
// Crossings carry the pointer's position and focus changes reset the keys,
// so they keep their place among the input. Events SDL waits for (a map,
// a property change) must not be held, nor need they be: they go to SDL at
// once.
constexpr int kGated[] = {KeyPress,    KeyRelease,  ButtonPress, ButtonRelease, MotionNotify,
                          EnterNotify, LeaveNotify, FocusIn,     FocusOut,      KeymapNotify};

// A drag's move or crossing out of the window.
bool LeavesHeld(const XEvent& e, SDL_Window* window) {
    constexpr unsigned kButtons = Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;
    if (e.type == LeaveNotify) return e.xcrossing.mode == NotifyNormal && (e.xcrossing.state & kButtons) != 0;
    if (e.type != MotionNotify || (e.xmotion.state & kButtons) == 0) return false;
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return e.xmotion.x < 0 || e.xmotion.y < 0 || e.xmotion.x >= width || e.xmotion.y >= height;
}

}  // namespace

struct XEventGate::Held {
    SDL_Window* window = nullptr;
    Display* display = nullptr;
    int wakeFd = -1;  // an eventfd, written by Wake
    std::deque<XEvent> events;
    size_t dropped = 0;
    // The pointer is captured for a drag that left the window.
    bool captured = false;
    // SDL's own capture at every press and release, restored at the end.
    std::string autoCapture;
    bool hadAutoCapture = false;
    // Xlib's own converters of the gated events, restored at the end.
    Bool (*converters[sizeof kGated / sizeof kGated[0]])(Display*, XEvent*, xEvent*) = {};

    // The one gate of the process, for the converters, which get no
    // pointer of their own.
    static Held* active;

    // Called by Xlib, with the display locked, for each gated event it
    // reads from the connection, whoever reads (SDL's pump, its key-repeat
    // check, a round trip): the event goes to the gate's queue instead of
    // the connection's. No Xlib call may be made in here.
    static Bool Divert(Display* display, XEvent* event, xEvent* wire) {
        Held* held = active;
        size_t which = 0;
        while (which + 1 < sizeof kGated / sizeof kGated[0] && kGated[which] != (wire->u.u.type & 0x7F))
            ++which;
        if (held == nullptr || held->display != display) return False;
        if (!held->converters[which](display, event, wire)) return False;
        held->Keep(*event);
        return False;  // not queued by Xlib
    }

    void Keep(const XEvent& e) {
        // A move right after a move of the same drag says only where the
        // pointer went next: the later one stands for both.
        if (e.type == MotionNotify && !events.empty() && events.back().type == MotionNotify &&
            events.back().xmotion.window == e.xmotion.window &&
            events.back().xmotion.state == e.xmotion.state) {
            events.back() = e;
            return;
        }
        if (events.size() >= kMaxHeld) {
            ++dropped;
            return;
        }
        events.push_back(e);
    }
};

XEventGate::Held* XEventGate::Held::active = nullptr;

XEventGate::XEventGate(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || Held::active != nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return;
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) return;
    held_ = std::make_unique<Held>();
    held_->window = window;
    held_->display = info.info.x11.display;
    held_->wakeFd = wakeFd;
    XLockDisplay(held_->display);
    for (size_t i = 0; i < sizeof kGated / sizeof kGated[0]; ++i)
        held_->converters[i] = XESetWireToEvent(held_->display, kGated[i], &Held::Divert);
    Held::active = held_.get();
    XUnlockDisplay(held_->display);
    // SDL grabs the pointer at every press and lets it go at every release,
    // each with two round trips to the server, so that a drag goes on
    // outside the window. The server itself already sends a drag's moves
    // and release to the window where it started; only SDL would drop the
    // moves outside it. The gate captures the pointer when a drag leaves
    // the window, and SDL's capture at every press is left off.
    if (const char* hint = SDL_GetHint(SDL_HINT_MOUSE_AUTO_CAPTURE)) {
        held_->hadAutoCapture = true;
        held_->autoCapture = hint;
    }
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
}

XEventGate::~XEventGate() {
    if (!held_) return;
    if (held_->captured) SDL_CaptureMouse(SDL_FALSE);
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, held_->hadAutoCapture ? held_->autoCapture.c_str() : nullptr);
    XLockDisplay(held_->display);
    for (size_t i = 0; i < sizeof kGated / sizeof kGated[0]; ++i)
        XESetWireToEvent(held_->display, kGated[i], held_->converters[i]);
    Held::active = nullptr;
    XUnlockDisplay(held_->display);
    close(held_->wakeFd);
}

bool XEventGate::Active() const { return held_ != nullptr; }

bool XEventGate::Holding() const { return held_ && !held_->events.empty(); }

bool XEventGate::Pending() {
    // Reads what the connection has: input into the gate's queue, the rest
    // into the connection's.
    return held_ && (XEventsQueued(held_->display, QueuedAfterFlush) > 0 || !held_->events.empty());
}

void XEventGate::Wait(uint32_t timeoutMs) {
    if (!held_) return;
    pollfd fds[2] = {{ConnectionNumber(held_->display), POLLIN, 0}, {held_->wakeFd, POLLIN, 0}};
    const int timeout =
        timeoutMs == UINT32_MAX ? -1 : static_cast<int>(timeoutMs > INT32_MAX ? INT32_MAX : timeoutMs);
    if (poll(fds, 2, timeout) > 0 && (fds[1].revents & POLLIN) != 0) {
        uint64_t count = 0;
        while (read(held_->wakeFd, &count, sizeof count) < 0 && errno == EINTR) {
        }
    }
}

void XEventGate::Wake() {
    if (!held_) return;
    const uint64_t one = 1;
    while (write(held_->wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

size_t XEventGate::Dropped() const { return held_ ? held_->dropped : 0; }

void XEventGate::Admit(size_t batch) {
    if (!held_) return;
    // Whatever the connection has waiting is read (and input diverted).
    XEventsQueued(held_->display, QueuedAfterReading);
    // Events SDL already has in the connection's queue (window events, the
    // input extension's, from which SDL takes the pointer's moves) came in
    // with the held ones, in an order no longer known: they go first, and
    // the held ones at the next pass, so that a press never overtakes the
    // move that led to it.
    if (XEventsQueued(held_->display, QueuedAlready) > 0) return;
    std::deque<XEvent>& events = held_->events;
    size_t n = batch < events.size() ? batch : events.size();
    if (n > 0 && n < events.size() && events[n - 1].type == KeyRelease) ++n;
    for (size_t i = 0; i < n; ++i) {
        const XEvent& e = events[i];
        if (!held_->captured && LeavesHeld(e, held_->window)) {
            // SDL must have seen all before it while the pointer was its
            // own, and see this move already captured.
            if (i > 0) {
                n = i;
                break;
            }
            held_->captured = SDL_CaptureMouse(SDL_TRUE) == 0;
        } else if (held_->captured && e.type == ButtonRelease) {
            // Settle lets the pointer go if this was the drag's end, before
            // SDL sees what follows.
            n = i + 1;
            break;
        }
    }
    // Each goes to the head of the connection's queue: the last first.
    for (size_t i = n; i-- > 0;) XPutBackEvent(held_->display, &events[i]);
    events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(n));
}

void XEventGate::Settle() {
    if (!held_ || !held_->captured) return;
    if (SDL_GetMouseState(nullptr, nullptr) != 0) return;
    SDL_CaptureMouse(SDL_FALSE);
    held_->captured = false;
}

#else  // SDL built without X11: nothing to gate.

struct XEventGate::Held {};
XEventGate::XEventGate(SDL_Window*) {}
XEventGate::~XEventGate() = default;
bool XEventGate::Active() const { return false; }
bool XEventGate::Holding() const { return false; }
bool XEventGate::Pending() { return false; }
void XEventGate::Wait(uint32_t) {}
void XEventGate::Wake() {}
size_t XEventGate::Dropped() const { return 0; }
void XEventGate::Admit(size_t) {}
void XEventGate::Settle() {}

#endif

}  // namespace pw
