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
    std::string Tell(const Board& now);
    void WithinPuzzle(const Board& was, const Board& now, std::string& out) const;
    // A puzzle's points come in two steps, its balancing and its answer:
    // they are told as one line, once the answer's have come or the puzzle
    // is left without them.
    void TellPoints(const Board& was, const Board& now, bool newPuzzle, std::string& out);

    std::optional<Board> last_;
    int32_t balancingPoints_ = 0;  // awarded and not yet told
};

}  // namespace pw
