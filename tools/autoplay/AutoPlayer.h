#pragma once
// A player that never errs: on the title it presses once; on the game screen
// it reads the board from the game's view, asks the solver which tray weights balance the scale and
// drags them there one by one with the stylus, and types a hidden number on
// the keypad once it shows. It stops after a given number of puzzles.
#include <cstdint>
#include <string>

#include "replay/Replay.h"

namespace pw {

struct GameView;
class ReplayPassRunner;

class AutoPlayer {
public:
    // Virtual milliseconds between a pen event and the next one in a drag.
    static constexpr uint32_t kMoveStepMs = 16;
    static constexpr int kMovesPerDrag = 20;
    // Pause before each gesture, as a player looks at the board.
    static constexpr uint32_t kThinkMs = 120;

    explicit AutoPlayer(int32_t puzzles) : puzzlesWanted_(puzzles) {}

    // The planner for ReplayPassRunner: queues the next gesture, or the end.
    void Plan(ReplayPassRunner& runner);

    int32_t PuzzlesSolved() const { return puzzlesSolved_; }
    // Set when the board could not be read or solved; the planner then ends
    // the run at once.
    const std::string& Error() const { return error_; }

private:
    void PlanOnBoard(ReplayPassRunner& runner, const GameView& view);
    void Drag(ReplayPassRunner& runner, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
    void Tap(ReplayPassRunner& runner, uint32_t at, int32_t x, int32_t y);
    void TypeNumber(ReplayPassRunner& runner, const GameView& view, int32_t number);
    void End(ReplayPassRunner& runner);

    int32_t puzzlesWanted_;
    int32_t puzzlesSolved_ = 0;
    // The last gesture should have made the scale level: the next time the
    // game waits, the puzzle is either over or asks for its hidden number.
    bool expectLevel_ = false;
    std::string error_;
};

}  // namespace pw
