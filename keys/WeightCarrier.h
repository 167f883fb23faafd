#pragma once
// Carries a weight by keys the way a stylus drags it: a press on the weight
// picks it up, moves take it over the left pan, back to its tray place or
// over the right pan, and a release drops it where it hangs. Every step is an
// ordinary stylus event handed to the caller.
#include <functional>
#include <optional>

#include "game/GameView.h"
#include "keys/KeyTargets.h"
#include "platform/Platform.h"

namespace pw {

class WeightCarrier {
public:
    using PenOut = std::function<void(const WindowEvent&)>;
    // The game's view as it is now (after the events handed out so far).
    using Look = std::function<GameView()>;
    static constexpr int kNone = -1;

    // Whether a weight was picked up by keys and not yet let go.
    bool Holding() const { return carried_.has_value(); }
    // The carried weight's index in view, or kNone. A weight the game no
    // longer carries (it was released some other way) is let go of.
    int Carried(const GameView& view);
    // Presses on the middle of the view's element at index, when a press
    // there reaches it.
    void PickUp(const GameView& view, size_t index, const PenOut& out, const Look& look);
    // Moves one place to the right (step 1) or the left (step -1) among the
    // left pan, the tray place and the right pan; past either end, nothing.
    void Step(const GameView& view, int step, const PenOut& out);
    // Releases the weight where it hangs.
    void Drop(const PenOut& out);
    // Releases it where it was picked up.
    void PutBack(const PenOut& out);

private:
    enum Place { kLeftPan = 0, kTray = 1, kRightPan = 2 };
    Point PointOf(const GameView& view, int place) const;
    void Release(Point at, const PenOut& out);

    // The carried weight, as its tray place and the middle of that place.
    std::optional<int32_t> carried_;
    Point home_;
    Point pickedAt_;
    Point at_;
    int place_ = kTray;
};

}  // namespace pw
