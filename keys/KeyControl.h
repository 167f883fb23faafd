#pragma once
// Keyboard play: each key becomes the stylus press, moves and release that a
// player's tap or drag at the same place would make, handed to the same path
// as the pointer's, so the game cannot tell the two apart and a recording of
// keyboard play is an ordinary stylus recording. A key with nothing to act on
// does nothing. Muting and full screen are the host's own and touch no game.
#include <functional>

#include "game/GameView.h"
#include "keys/KeyFocus.h"
#include "keys/TapMover.h"
#include "keys/WeightCarrier.h"
#include "platform/Platform.h"
#include "sound/SoundSwitch.h"

namespace pw {

class KeyControl {
public:
    using PenOut = WeightCarrier::PenOut;
    using Look = WeightCarrier::Look;
    // Says why a key did nothing, for a player who cannot see it.
    using Refused = std::function<void(const std::string& why)>;

    // look gives the game's view as it is now, or one with no screen while
    // no game is open.
    KeyControl(Window& window, SoundSwitch& sound, Registry& registry, PenOut out, Look look)
        : window_(window),
          sound_(sound),
          registry_(registry),
          out_(std::move(out)),
          look_(std::move(look)),
          focus_(window) {}

    void OnKey(const WindowEvent& key);
    // Called before the pointer's own press, move or release reaches the
    // game: a press hides the ring and first puts a carried weight back.
    // Answers true when the event was taken here (a tap on a weight, or the
    // taps that move one: see TapMover) and must not reach the game as it is.
    bool OnPointer(const WindowEvent& pen);
    // Reads the player's live pointer for taps that move weights too.
    void AcceptTaps() { acceptTaps_ = true; }
    void OnRefused(Refused refused) { refused_ = std::move(refused); }
    // How a bar control's key reaches the host (F1 and P are the host's).
    using HostKey = std::function<void(Key key)>;
    void OnHostKey(HostKey hostKey) { hostKey_ = std::move(hostKey); }
    // Keeps the ring on its weight; called whenever the scene may have moved.
    void Follow();
    // The area the focus ring shows, empty when none.
    const Rect& Ringed() const { return focus_.Ringed(); }

private:
    void OnTitleKey(const GameView& view, Key key);
    void OnGameKey(const GameView& view, const WindowEvent& key);
    void OnCarryingKey(const GameView& view, Key key);
    // A tap in the middle of the control, when a tap there would reach it.
    void Tap(const GameView& view, Control control);
    // Why control cannot be reached now, or empty when it can.
    static std::string WhyNot(const GameView& view, Control control);
    void Refuse(const std::string& why) {
        if (refused_ && !why.empty()) refused_(why);
    }
    void LeaveFullscreen();
    // Keys while a control of the window's bar has the focus; false passes
    // the key on to the game (the focus leaving the bar).
    bool OnBarKey(const GameView& view, const WindowEvent& key);
    void FocusBar(BarControl control);

    Window& window_;
    SoundSwitch& sound_;
    Registry& registry_;
    PenOut out_;
    Look look_;
    KeyFocus focus_;
    WeightCarrier carrier_;
    TapMover taps_;
    Refused refused_;
    HostKey hostKey_;
    BarControl barFocus_ = BarControl::None;
    bool acceptTaps_ = false;
    bool pointerDown_ = false;
};

}  // namespace pw
