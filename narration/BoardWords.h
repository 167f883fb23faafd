#pragma once
// The board in short plain English, numbers first, for a player who listens
// instead of looking. A number a weight does not show is never said.
#include <string>

#include "narration/BoardReading.h"

namespace pw {

namespace BoardWords {

// "grey 7", "grey, number hidden", "9".
std::string Weight(const BoardWeight& weight);
// "Left pan: grey 7, 3.", "Right pan: empty."
std::string Pan(const Board& board, ViewElement::Pan pan);
// "Tray: 2, 3, 9."
std::string Tray(const Board& board);
// What each pan weighs as far as it shows: "Left 7, right 9.",
// "Left hidden plus 3, right 9."
std::string Totals(const Board& board);
// "The scale tips left.", "The scale is level."
std::string Tip(const Board& board);
// "left pan", "right pan", "tray".
std::string Place(ViewElement::Pan pan);
std::string Over(Board::Over over);
// The ringed weight: "yellow 9, tray"; empty when the ring shows none.
std::string Ringed(const Board& board);
// Both pans, the tray and the tip.
std::string Puzzle(const Board& board);
std::string Options(const Board& board);
std::string Title();
std::string Ended();
// Everything there is to see on the screen now.
std::string Whole(const Board& board);

}  // namespace BoardWords

}  // namespace pw
