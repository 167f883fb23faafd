#include "results/PuzzleTracker.h"

#include <algorithm>
#include <vector>

#include "game/GameScreen.h"

namespace pw {

void PuzzleTracker::Start(const GameView& scene, const std::string& board) {
    puzzle_ = Puzzle{};
    puzzle_->level = scene.level;
    puzzle_->board = board;
}

void PuzzleTracker::Finish(bool finished) {
    const Puzzle& p = *puzzle_;
    ResultRow row;
    row.when = time_.LocalNow();
    row.level = p.level;
    row.balancingPoints = p.balancingPoints;
    row.answerPoints = p.answerPoints;
    row.moves = p.moves;
    row.par = GameScreen::ParFor(p.level);
    row.clears = p.clears;
    row.hint = p.hint;
    if (p.firstPress && p.balancedAt)
        row.tenths = static_cast<int32_t>((*p.balancedAt - *p.firstPress) / 100);
    row.finished = finished;
    row.set = set_;
    puzzle_.reset();
    if (emit_) emit_(row);
}

void PuzzleTracker::Look(const GameView& scene, const Rect&) {
    if (scene.screen != GameView::Screen::Game) {
        if (scene.screen == GameView::Screen::None && puzzle_) Finish(false);  // the game was closed
        onGame_ = false;
        lastScore_ = scene.score;
        return;
    }
    onGame_ = true;
    // The weights as dealt, in an order of their own: a weight dropped is put
    // back into the element list at another place.
    std::vector<std::string> weights;
    bool allHome = true;
    for (const ViewElement& e : scene.elements) {
        if (!e.isWeight) continue;
        weights.push_back((e.grey ? "g" : "y") + std::to_string(e.initialValue) + "@" +
                          std::to_string(e.homeX) + "," + std::to_string(e.homeY) + ";");
        if (!e.grey && (e.carried || e.pan != ViewElement::Pan::None || e.x != e.homeX || e.y != e.homeY))
            allHome = false;
    }
    std::sort(weights.begin(), weights.end());
    std::string board;
    for (const std::string& w : weights) board += w;
    const bool fresh = !scene.flashing && !scene.optionsOpen && !scene.keypadShown && allHome;
    const int32_t gained = scene.score > lastScore_ ? scene.score - lastScore_ : 0;

    if (!puzzle_) {
        Start(scene, board);
    } else {
        // Only the arrows change the level while the panel is open (automatic
        // levelling moves it at a balance, for the next puzzle).
        if (scene.optionsOpen && !panelWasOpen_) panelLevel_ = scene.level;
        if (scene.optionsOpen && scene.level != panelLevel_) puzzle_->levelTouched = true;
        const bool next =
            fresh && !wasFresh_ && (puzzle_->balanced || puzzle_->levelTouched || board != puzzle_->board);
        if (next) {
            // The flash that ended built this puzzle: the last one was
            // answered (its answer's points come with the same tick).
            const bool answered = puzzle_->balanced && flashSeen_ && !puzzle_->levelTouched;
            if (answered) puzzle_->answerPoints += gained;
            Finish(answered);
            Start(scene, board);
        } else if (scene.flashing && !puzzle_->balanced) {
            puzzle_->balanced = true;
            puzzle_->balancedAt = clock_.Now();
            puzzle_->balancingPoints += gained;
        }
    }
    // The game counts a puzzle's moves, clears and hint until it deals the
    // next one: the last counts seen are the puzzle's.
    if (puzzle_) {
        puzzle_->moves = scene.moves;
        puzzle_->clears = scene.clears;
        puzzle_->hint = scene.hintUsed;
    }
    flashSeen_ = scene.flashing;
    panelWasOpen_ = scene.optionsOpen;
    wasFresh_ = fresh;
    lastScore_ = scene.score;
}

void PuzzleTracker::Pen(const WindowEvent& event) {
    if (!onGame_ || !puzzle_) return;
    if (event.type == WindowEvent::Type::PenDown && !puzzle_->firstPress) puzzle_->firstPress = clock_.Now();
}

}  // namespace pw
