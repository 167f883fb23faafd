#pragma once
// A weight moved by two taps instead of a drag, for hands that find
// dragging hard: a tap on a yellow weight rings it, and a tap on a pan then
// makes the very press, moves and release of a drag from the weight to that
// pan (a tap on the tray's row, one from a pan back to its place). A tap on
// the ringed weight again, or anywhere else, lets it go.
// Only the player's own live pointer is read this way: a press on a weight
// is held back until it moves (then it is an ordinary drag, delivered from
// its press on) or comes up (a tap, which reaches the game not at all), so
// that a recording holds only the drag the game was given and replays as
// it played.
#include <functional>
#include <optional>

#include "game/GameView.h"
#include "keys/KeyTargets.h"
#include "platform/Platform.h"

namespace pw {

class TapMover {
public:
    using PenOut = std::function<void(const WindowEvent&)>;
    using Look = std::function<GameView()>;
    // How far (display pixels, either way) a press may wander and still be
    // a tap: a child's finger is not still.
    static constexpr int32_t kTapSlop = 4;

    // Takes the pointer's event; false passes it on to the game unchanged.
    // Events it takes may come out later, in order, through out.
    // look is asked for the game's view only at a press.
    bool Take(const WindowEvent& pen, const Look& look, const PenOut& out);
    // The ringed weight's tray place, while one is ringed.
    const std::optional<int32_t>& Ringed() const { return ringed_; }
    void Forget() { ringed_.reset(); }

private:
    bool TakePress(const WindowEvent& pen, const GameView& view, const PenOut& out);
    static void Drag(Point from, Point to, const PenOut& out);
    // The movable weight a press at the point reaches, or -1.
    static int WeightAt(const GameView& view, int32_t x, int32_t y);
    // The ringed weight's index in view, or -1 when it is gone or frozen.
    int RingedIn(const GameView& view) const;

    std::optional<int32_t> ringed_;
    // A press on a weight not yet known to be a tap or a drag.
    std::optional<WindowEvent> held_;
    int32_t heldHome_ = 0;
    // The rest of a press already answered (by a drag made for it).
    bool swallowing_ = false;
};

}  // namespace pw
