#pragma once
// Follows each puzzle as the dump reports it and makes its row of the results
// history: the level it was built for, the points of its balancing and of its
// answer (the score's growth at each), the drops on a pan, the keypad's clear
// presses and the hint, and the time from its first press to balance. A
// puzzle left for a new level, or by closing the game, gives a row marked
// unfinished.
//
// What the dump shows of the game: the pan flash (an Animation at 10, 160)
// shows the scale has come level; a weight lifted is drawn in layer 40 while
// it is dragged; the keypad's buttons and the options panel are visible or
// not; a new puzzle puts every tray weight back home with nothing flashing.
// The clear and hint presses leave nothing in the dump when nothing was typed,
// so those are read from the stylus events the game is about to get.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "results/ResultRow.h"
#include "dump/SceneWatcher.h"

namespace pw {

class PuzzleTracker : public SceneWatcher {
public:
    using Emit = std::function<void(const ResultRow&)>;
    // set names the puzzle set played, empty outside one.
    PuzzleTracker(Clock& clock, SystemTime& time, std::string set, Emit emit)
        : clock_(clock), time_(time), set_(std::move(set)), emit_(std::move(emit)) {}

    void Look(const SceneState& scene, const Rect& ring) override;
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
    enum class Pressed { None, Clear, Hint };

    void Start(const SceneState& scene, const std::string& board);
    void Finish(bool finished);

    Clock& clock_;
    SystemTime& time_;
    std::string set_;
    Emit emit_;
    std::optional<Puzzle> puzzle_;
    SceneState last_;
    int32_t lastScore_ = 0;
    bool wasFresh_ = false;
    bool flashSeen_ = false;  // the flash has shown since the last look without it
    bool panelWasOpen_ = false;
    int32_t panelLevel_ = 0;  // the level when the options panel opened
    // Tray weights being dragged, by their home, with their last bounds.
    std::map<std::pair<int32_t, int32_t>, Rect> dragged_;
    Pressed pressed_ = Pressed::None;
};

}  // namespace pw
