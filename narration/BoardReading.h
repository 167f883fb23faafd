#pragma once
// The game's board as a player reads it off the picture, taken from the
// game's view: the weights and where they lie, which way the scale tips,
// whether the scale flashes, the keypad, the options panel, and which weight
// the host's focus ring is around.
#include <cstdint>
#include <vector>

#include "game/GameView.h"
#include "platform/Surface.h"

namespace pw {

struct BoardWeight {
    // The number is what the weight shows; it must never be told while
    // numberShown is false.
    int32_t number = 0;
    bool numberShown = false;
    bool grey = false;
    // Tells the weights of a puzzle apart: a yellow weight's tray place
    // (homeX), a grey weight's negative count in the order they were dealt.
    int32_t place = 0;
    ViewElement::Pan pan = ViewElement::Pan::None;
    bool carried = false;  // lifted and following the stylus
    bool movable = false;  // a press would pick it up
    Rect bounds;
};

struct Board {
    using Tip = GameView::Tip;
    // Where a carried weight hangs.
    enum class Over { LeftPan, Tray, RightPan };

    GameView::Screen screen = GameView::Screen::None;
    int32_t score = 0;
    int32_t level = 0;
    bool autoLevelling = false;
    // Lowest row first, each row left to right: a pan's weights in the order
    // they came, the tray's left to right.
    std::vector<BoardWeight> weights;
    // As the scale picture shows it, which the pans' masses decide.
    Tip tip = Tip::Level;
    bool flashing = false;  // the pans flash: the scale has just come level
    bool hintUsed = false;  // the keypad's bulb showed this puzzle's number
    bool keypadShown = false;
    bool optionsOpen = false;
    bool resetTicked = false;
    // Where a carried weight would drop onto a pan.
    Rect leftPanZone{};
    Rect rightPanZone{};
    int ringed = -1;   // the weight the focus ring is around, or -1
    int carried = -1;  // the carried weight, or -1
    // What tells one puzzle from the next: the weights as they were dealt.
    // It holds hidden numbers too, so it is compared, never told.
    std::vector<int32_t> dealt;

    const BoardWeight* Carried() const {
        return carried >= 0 ? &weights[static_cast<size_t>(carried)] : nullptr;
    }
    Over CarriedOver() const;
};

// ring is the area the host's focus ring shows (empty when it shows none).
Board ReadBoard(const GameView& scene, const Rect& ring);

}  // namespace pw
