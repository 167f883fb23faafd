#pragma once
// A puzzle set: a seed and a level, written "4711-6". Everyone who plays the
// same set gets the same puzzles in the same order: the puzzles are drawn
// only by the level builders, from the seed, so play (the moves, clears, the
// hint, keys or stylus) cannot change them; only a level chosen by hand in
// the options panel leaves the set's sequence.
#include <cstdint>
#include <string>

namespace pw {

struct PuzzleSet {
    uint32_t seed = 0;
    int32_t level = 0;

    std::string Name() const { return std::to_string(seed) + "-" + std::to_string(level); }
};

// False, with a message for the player, when text is no set.
bool ParsePuzzleSet(const std::string& text, PuzzleSet& set, std::string& error);

}  // namespace pw
