#pragma once
// The game as the host may read it: plain values, copied out after a message
// or a tick, never a pointer into a screen. The host (the dump, the spoken
// descriptions, the results history, keyboard play) reads the game only
// through this view and drives it only with stylus and key messages, so that
// everything it does records and replays like a player's own input.
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace pw {

class Screen;

// The parts of the game screen a key or a reader may want by name.
enum class Control {
    None,
    Digit0,  // Digit0 + n is the keypad's n
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Clear,
    Hint,
    Options,
    Ok,
    LevelUp,
    LevelDown,
    AutoBox,
    ResetBox,
    Close,
};

struct ViewElement {
    enum class Pan { None, Left, Right };

    // "Image", "Button", "Weight"... (a static string)
    const char* kind = "";
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t layer = 0;
    bool visible = false;
    bool enabled = false;
    // A press over it goes on to what lies below.
    bool passThrough = false;
    Control control = Control::None;
    // The rest is a weight's only.
    bool isWeight = false;
    bool movable = false;  // a yellow weight, which the stylus can drag
    int32_t value = 0;     // told only while showNumber is set
    int32_t initialValue = 0;
    bool showNumber = false;
    bool grey = false;
    int32_t homeX = 0;
    int32_t homeY = 0;
    Pan pan = Pan::None;
    bool carried = false;  // lifted and following the stylus

    Rect Bounds() const { return Rect{x, y, x + width, y + height}; }
};

struct GameView {
    enum class Screen { None, Title, Game };
    enum class Tip { Left, Level, Right };

    Screen screen = Screen::None;
    // The stored values as the game holds them now.
    int32_t score = 0;
    int32_t level = 0;
    bool autoLevelling = false;
    // Every element of the current screen, bottom to top.
    std::vector<ViewElement> elements;

    // The rest is the game screen's only. The puzzle on the board: drops on
    // a pan, the keypad's clear presses, the hint.
    int32_t moves = 0;
    int32_t clears = 0;
    bool hintUsed = false;
    // What the pans hold now (typed numbers included), and whether a number
    // in either is still hidden; the scale shows the tip.
    int32_t leftTotal = 0;
    int32_t rightTotal = 0;
    bool hiddenOnPans = false;
    Tip tip = Tip::Level;
    bool balanced = false;  // the scale came level: the board no longer answers
    bool flashing = false;  // the pans flash
    bool keypadShown = false;
    bool optionsOpen = false;
    bool autoTicked = false;
    bool resetTicked = false;
    int carried = -1;  // the element being carried, or -1
    // Where a dropped weight lands on a pan, edges included.
    Rect leftPanZone{};
    Rect rightPanZone{};

    const ViewElement* Find(Control control) const;
    // Whether a stylus press at (x, y) reaches element i, as the screen
    // routes presses: from the top down, through pass-through ones.
    bool ReachedAt(size_t i, int32_t x, int32_t y) const;
};

// The elements of a screen, bottom to top, as the view holds them (without
// what only the game screen knows: pans, controls, carrying).
std::vector<ViewElement> ReadElements(const Screen& screen);

}  // namespace pw
