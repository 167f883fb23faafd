#pragma once
// What the keys can reach on a screen, read from the game's view the way a
// player reads the picture: what shows, what answers, and where a stylus
// would have to touch to reach it.
#include <cstdint>
#include <vector>

#include "game/GameView.h"
#include "platform/Platform.h"

namespace pw {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

class KeyTargets {
public:
    // Shown and enabled: a press would reach it if nothing covers it.
    static bool Answers(const ViewElement& element) { return element.visible && element.enabled; }
    static Point Centre(const ViewElement& element) {
        return Point{element.x + element.width / 2, element.y + element.height / 2};
    }
    // The weights a player could pick up now, as indices into the view's
    // elements, in reading order: rows from the top, each from the left.
    static std::vector<size_t> MovableWeights(const GameView& view);
    // The stylus message of a press, move (a drag with the primary button)
    // or release at the point.
    static WindowEvent Stylus(WindowEvent::Type type, Point at);
};

}  // namespace pw
