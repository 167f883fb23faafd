#pragma once
// Follows each puzzle through the game's view and makes its row of the
// results history: the level it was built for, the points of its balancing
// and of its answer (the score's growth at each), the drops on a pan, the
// keypad's clear presses and the hint as the game counts them, and the time
// from its first press to balance. A puzzle left for a new level, or by
// closing the game, gives a row marked unfinished.
//
// The pans flash when the scale has come level; a new puzzle puts every tray
// weight back home with nothing flashing and no panel or keypad open.
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "dump/SceneWatcher.h"
#include "results/ResultRow.h"

namespace pw {

class PuzzleTracker : public SceneWatcher {
public:
    using Emit = std::function<void(const ResultRow&)>;
    // set names the puzzle set played, empty outside one.
    PuzzleTracker(Clock& clock, SystemTime& time, std::string set, Emit emit)
        : clock_(clock), time_(time), set_(std::move(set)), emit_(std::move(emit)) {}

    void Look(const GameView& scene, const Rect& ring) override;
    void WholeAsked() override {}
    void Pen(const WindowEvent& event) override;
    // The run ends: a puzzle still on the board is left unfinished.
    void End() {
        if (puzzle_) Finish(false);
    }

private:
    struct Puzzle {
        int32_t level = 0;
        std::string board;  // the weights as built
        int32_t moves = 0;
        int32_t clears = 0;
        bool hint = false;
        bool balanced = false;
        int32_t balancingPoints = 0;
        int32_t answerPoints = 0;
        std::optional<uint32_t> firstPress;
        std::optional<uint32_t> balancedAt;
        bool levelTouched = false;  // the level was changed in the options panel
    };

    void Start(const GameView& scene, const std::string& board);
    void Finish(bool finished);

    Clock& clock_;
    SystemTime& time_;
    std::string set_;
    Emit emit_;
    std::optional<Puzzle> puzzle_;
    bool onGame_ = false;  // the last look was at the game screen
    int32_t lastScore_ = 0;
    bool wasFresh_ = false;
    bool flashSeen_ = false;  // the flash has shown since the last look without it
    bool panelWasOpen_ = false;
    int32_t panelLevel_ = 0;  // the level when the options panel opened
};

}  // namespace pw
