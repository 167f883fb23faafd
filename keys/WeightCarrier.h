#pragma once
// Carries a weight by keys the way a stylus drags it: a press on the weight
// picks it up, moves take it over the left pan, back to its tray place or
// over the right pan, and a release drops it where it hangs. Every step is an
// ordinary stylus event handed to the caller.
#include <functional>

#include "keys/KeyTargets.h"
#include "platform/Platform.h"

namespace pw {

class Figure;
class GameScreen;
class Weight;

class WeightCarrier {
public:
    using PenOut = std::function<void(const WindowEvent&)>;

    // The carried weight, or null. A weight the screen no longer holds under
    // the stylus (it was released some other way) is let go of.
    Figure* Carried(const GameScreen& game);
    // Presses on the middle of the weight, when a press there reaches it.
    void PickUp(GameScreen& game, Weight& weight, const PenOut& out);
    // Moves one place to the right (step 1) or the left (step -1) among the
    // left pan, the tray place and the right pan; past either end, nothing.
    void Step(const GameScreen& game, int step, const PenOut& out);
    // Releases the weight where it hangs.
    void Drop(const PenOut& out);
    // Releases it where it was picked up.
    void PutBack(const PenOut& out);

private:
    enum Place { kLeftPan = 0, kTray = 1, kRightPan = 2 };
    Point PointOf(const GameScreen& game, int place) const;
    void Release(Point at, const PenOut& out);

    Weight* carried_ = nullptr;
    Point pickedAt_;
    Point at_;
    int place_ = kTray;
};

}  // namespace pw
