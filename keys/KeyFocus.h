#pragma once
// The focus ring of keyboard play: which weight the keys act on, and the ring
// the window draws around it. The ring shows from the first key press until
// the next pointer press, and follows its weight wherever the game moves it.
// A weight is known by its tray place, which no other weight of a puzzle
// shares: so the ring stays at its place when the next puzzle replaces every
// weight.
#include <cstdint>
#include <optional>

#include "game/GameView.h"
#include "platform/Platform.h"

namespace pw {

class KeyFocus {
public:
    static constexpr int kNone = -1;

    explicit KeyFocus(Window& window) : window_(window) {}

    void Show() { shown_ = true; }
    // Rings the weight at the tray place, as if the keys had gone there.
    void RingPlace(int32_t place) {
        place_ = place;
        shown_ = true;
    }
    void Hide() { shown_ = false; }
    bool Shown() const { return shown_; }
    const Rect& Ringed() const { return ringed_; }

    // The ringed weight's index in the view, or kNone when the view has none
    // at its place.
    int Current(const GameView& view) const;
    // Moves the ring to the next (step 1) or previous (step -1) movable
    // weight in reading order, round the end; from no weight, to the first
    // or the last.
    void Step(const GameView& view, int step);
    // Whether a step that way would go round the end: the ring is on the
    // last movable weight (step 1) or the first (step -1).
    bool AtEnd(const GameView& view, int step) const;
    // Puts the ring where it belongs now: around the carried weight when
    // there is one, else around the ringed weight while it can be picked up.
    // Without a weight at its place, the ring goes to the first movable one.
    // Without a screen of weights (null) the ring goes away.
    void Follow(const GameView* view, int carried);

private:
    void Ring(const Rect& area);
    void Take(const ViewElement& weight) { place_ = weight.homeX; }

    Window& window_;
    std::optional<int32_t> place_;  // the ringed weight's tray place (its home x)
    bool shown_ = false;
    Rect ringed_{};
};

}  // namespace pw
