#include "results/PuzzleTracker.h"

#include <algorithm>
#include <vector>

#include "game/GameScreen.h"

namespace pw {

namespace {

// The game's pan drop zones, edges included.
constexpr Rect kLeftPanZone{10, 80, 90, 190};
constexpr Rect kRightPanZone{150, 80, 230, 190};

bool Touches(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool At(const SceneElement& e, const char* kind, int32_t x, int32_t y) {
    return e.kind == kind && e.x == x && e.y == y;
}

}  // namespace

void PuzzleTracker::Start(const SceneState& scene, const std::string& board) {
    puzzle_ = Puzzle{};
    puzzle_->level = scene.level;
    puzzle_->board = board;
    dragged_.clear();
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

void PuzzleTracker::Look(const SceneState& scene, const Rect&) {
    if (scene.screen != SceneState::Screen::Game) {
        if (scene.screen == SceneState::Screen::None && puzzle_) Finish(false);  // the game was closed
        last_ = scene;
        lastScore_ = scene.score;
        return;
    }
    bool flash = false, panel = false, keypad = false, allHome = true;
    // The weights as built, in an order of their own: a weight dropped is put
    // back into the element list at another place.
    std::vector<std::string> weights;
    int32_t dropsOnPans = 0;
    for (const SceneElement& e : scene.elements) {
        if (At(e, "Animation", 10, 160) && e.visible) flash = true;
        if (At(e, "Image", 0, 100) && e.width == 240 && e.visible) panel = true;
        if (At(e, "Button", 210, 290) && e.visible) keypad = true;
        if (!e.isWeight) continue;
        weights.push_back((e.grey ? "g" : "y") + std::to_string(e.initialValue) + "@" +
                          std::to_string(e.homeX) + "," + std::to_string(e.homeY) + ";");
        if (e.grey) continue;
        const std::pair<int32_t, int32_t> home{e.homeX, e.homeY};
        const Rect bounds{e.x, e.y, e.x + e.width, e.y + e.height};
        if (e.layer == 40) {
            dragged_[home] = bounds;
            allHome = false;
            continue;
        }
        auto lifted = dragged_.find(home);
        if (lifted != dragged_.end()) {
            // Dropped: a move when it lies on a pan now, or was let go over
            // one whose five places were taken.
            if (e.pan != SceneElement::Pan::None || Touches(lifted->second, kLeftPanZone) ||
                Touches(lifted->second, kRightPanZone))
                ++dropsOnPans;
            dragged_.erase(lifted);
        }
        if (e.pan != SceneElement::Pan::None || e.x != e.homeX || e.y != e.homeY) allHome = false;
    }
    std::sort(weights.begin(), weights.end());
    std::string board;
    for (const std::string& w : weights) board += w;
    const bool fresh = !flash && !panel && !keypad && allHome;
    const int32_t gained = scene.score > lastScore_ ? scene.score - lastScore_ : 0;
    const bool flashWasShown = flashSeen_;

    if (!puzzle_) {
        Start(scene, board);
    } else {
        // Only the arrows change the level while the panel is open (automatic
        // levelling moves it at a balance, for the next puzzle).
        if (panel && !panelWasOpen_) panelLevel_ = scene.level;
        if (panel && scene.level != panelLevel_) puzzle_->levelTouched = true;
        const bool next =
            fresh && !wasFresh_ && (puzzle_->balanced || puzzle_->levelTouched || board != puzzle_->board);
        if (next) {
            // The flash that ended built this puzzle: the last one was
            // answered (its answer's points come with the same tick).
            const bool answered = puzzle_->balanced && flashWasShown && !puzzle_->levelTouched;
            if (answered) puzzle_->answerPoints += gained;
            Finish(answered);
            Start(scene, board);
        } else {
            puzzle_->moves += dropsOnPans;
            if (flash && !puzzle_->balanced) {
                puzzle_->balanced = true;
                puzzle_->balancedAt = clock_.Now();
                puzzle_->balancingPoints += gained;
            }
        }
    }
    flashSeen_ = flash;
    panelWasOpen_ = panel;
    wasFresh_ = fresh;
    lastScore_ = scene.score;
    last_ = scene;
}

void PuzzleTracker::Pen(const WindowEvent& event) {
    if (last_.screen != SceneState::Screen::Game || !puzzle_) return;
    if (event.type == WindowEvent::Type::PenDown) {
        if (!puzzle_->firstPress) puzzle_->firstPress = clock_.Now();
        pressed_ = Pressed::None;
        // The topmost element that answers the press, as the screen finds it.
        for (auto e = last_.elements.rbegin(); e != last_.elements.rend(); ++e) {
            if (!e->visible || event.x < e->x || event.y < e->y || event.x >= e->x + e->width ||
                event.y >= e->y + e->height)
                continue;
            if (!e->enabled) continue;
            if (At(*e, "Button", 210, 290)) pressed_ = Pressed::Clear;
            if (At(*e, "Button", 210, 260)) pressed_ = Pressed::Hint;
            break;
        }
    } else if (event.type == WindowEvent::Type::PenUp) {
        if (pressed_ == Pressed::Clear) ++puzzle_->clears;
        if (pressed_ == Pressed::Hint) puzzle_->hint = true;
        pressed_ = Pressed::None;
    }
}

}  // namespace pw
