#pragma once
// The game's board as a player reads it off the picture, taken from what the
// dump reports and nothing else: the weights and where they lie, which way
// the scale tips, whether the scale flashes, the keypad, the options panel,
// and which weight the host's focus ring is around.
#include <cstdint>
#include <vector>

#include "dump/SceneState.h"
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
    SceneElement::Pan pan = SceneElement::Pan::None;
    bool carried = false;  // lifted and following the stylus
    bool movable = false;  // a press would pick it up
    Rect bounds;
};

struct Board {
    enum class Tip { Left, Level, Right };
    // Where a carried weight hangs.
    enum class Over { LeftPan, Tray, RightPan };

    SceneState::Screen screen = SceneState::Screen::None;
    int32_t score = 0;
    int32_t level = 0;
    bool autoLevelling = false;
    // Lowest row first, each row left to right: a pan's weights in the order
    // they came, the tray's left to right.
    std::vector<BoardWeight> weights;
    // As the scale picture shows it, which the pans' masses decide.
    Tip tip = Tip::Level;
    bool flashing = false;  // the pans flash: the scale has just come level
    bool keypadShown = false;
    bool optionsOpen = false;
    bool resetTicked = false;
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
Board ReadBoard(const SceneState& scene, const Rect& ring);

}  // namespace pw
