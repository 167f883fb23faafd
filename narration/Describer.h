#pragma once
// Tells in short sentences what changed on the board since it last looked:
// a new puzzle, a weight picked up, carried or dropped, what the pans weigh
// and which way the scale tips, the scale coming level, points, the level,
// the keypad, the options panel, and the weight the focus ring moved to. It
// knows the board only as ReadBoard reads it from the dump.
#include <optional>
#include <string>

#include "narration/BoardReading.h"

namespace pw {

class Describer {
public:
    // What a player would notice since the last look, or empty. The first
    // look tells the whole screen.
    std::string Changes(Board now);
    // The whole board as last seen.
    std::string Whole() const;

private:
    std::string Tell(const Board& now) const;
    void WithinPuzzle(const Board& was, const Board& now, std::string& out) const;

    std::optional<Board> last_;
};

}  // namespace pw
