#pragma once
// What the keys can reach on a screen, read from its elements the way a
// player reads the picture: what shows, what answers, and where a stylus
// would have to touch to reach it.
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace pw {

class Figure;
class Screen;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

class KeyTargets {
public:
    // Shown and enabled: a press would reach it if nothing covers it.
    static bool Answers(const Figure& element);
    static Point Centre(const Figure& element);
    // Whether a stylus press at the point would reach the element, as the
    // screen routes presses: from the top down, through pass-through ones.
    static bool ReachedAt(const Screen& screen, const Figure& element, Point at);
    // The weights a player could pick up now, in reading order: rows from
    // the top, each from the left.
    static std::vector<Figure*> MovableWeights(const Screen& screen);
    // The stylus message of a press, move (a drag with the primary button)
    // or release at the point.
    static WindowEvent Stylus(WindowEvent::Type type, Point at);
};

}  // namespace pw
