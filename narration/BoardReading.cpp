#include "narration/BoardReading.h"

#include <algorithm>

#include "game/GameScreen.h"

namespace pw {

namespace {

Rect BoundsOf(const SceneElement& e) { return Rect{e.x, e.y, e.x + e.width, e.y + e.height}; }

// Edges count as inside, as the game's own drop test counts them.
bool Touches(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// The keypad's keys stand in the bottom rows of the display, below the scale
// and the tray: the top of its panel.
constexpr int32_t kKeypadTop = 245;

// The options panel shows its two check boxes as hotspots, Automatic
// Leveling above Reset Score, and a box is ticked when a picture of the tick
// shows inside it.
void ReadOptions(const SceneState& scene, Board& board) {
    std::vector<Rect> boxes;
    for (const SceneElement& e : scene.elements)
        if (e.visible && e.kind == "Hotspot") boxes.push_back(BoundsOf(e));
    board.optionsOpen = !boxes.empty();
    if (boxes.size() < 2) return;
    std::sort(boxes.begin(), boxes.end(), [](const Rect& a, const Rect& b) { return a.top < b.top; });
    for (const SceneElement& e : scene.elements)
        if (e.visible && e.kind == "Image" && Inside(BoundsOf(e), boxes[1])) board.resetTicked = true;
}

void ReadWeights(const SceneState& scene, Board& board) {
    int32_t left = 0, right = 0;
    int32_t greys = 0;
    for (const SceneElement& e : scene.elements) {
        if (!e.isWeight) continue;
        BoardWeight w;
        w.number = e.value;
        w.numberShown = e.showNumber;
        w.grey = e.grey;
        // Grey weights never leave their pans nor change places in the list.
        w.place = e.grey ? -1 - greys++ : e.homeX;
        w.pan = e.pan;
        w.carried = e.layer >= GameScreen::kDraggedLayer;
        w.movable = e.visible && e.enabled && !e.grey;
        w.bounds = BoundsOf(e);
        board.weights.push_back(w);
        // The scale weighs what the weights weigh now, typed numbers included.
        if (e.pan == SceneElement::Pan::Left) left += e.value;
        if (e.pan == SceneElement::Pan::Right) right += e.value;
    }
    board.tip = left > right ? Board::Tip::Left : left < right ? Board::Tip::Right : Board::Tip::Level;
    // A pan's lower row fills first, left to right: so its weights read in
    // the order they came; the tray reads left to right.
    std::stable_sort(
        board.weights.begin(), board.weights.end(), [](const BoardWeight& a, const BoardWeight& b) {
            return a.bounds.top != b.bounds.top ? a.bounds.top > b.bounds.top : a.bounds.left < b.bounds.left;
        });
    // The deal: each grey weight with its pan and first number, each yellow
    // one with its place and number, in an order of their own (the list's
    // changes as weights are lifted).
    std::vector<std::pair<int32_t, int32_t>> dealt;
    for (const SceneElement& e : scene.elements)
        if (e.isWeight)
            dealt.emplace_back(e.grey ? (e.pan == SceneElement::Pan::Left ? -1 : -2) : e.homeX,
                               e.initialValue);
    std::sort(dealt.begin(), dealt.end());
    for (const auto& [key, number] : dealt) {
        board.dealt.push_back(key);
        board.dealt.push_back(number);
    }
}

}  // namespace

Board::Over Board::CarriedOver() const {
    const BoardWeight* w = Carried();
    if (w == nullptr) return Over::Tray;
    if (Touches(w->bounds, GameScreen::kLeftPanZone)) return Over::LeftPan;
    if (Touches(w->bounds, GameScreen::kRightPanZone)) return Over::RightPan;
    return Over::Tray;
}

Board ReadBoard(const SceneState& scene, const Rect& ring) {
    Board board;
    board.screen = scene.screen;
    board.score = scene.score;
    board.level = scene.level;
    board.autoLevelling = scene.autoLevelling;
    if (scene.screen != SceneState::Screen::Game) return board;
    ReadWeights(scene, board);
    ReadOptions(scene, board);
    for (const SceneElement& e : scene.elements) {
        if (!e.visible) continue;
        if (e.kind == "Animation" && e.layer >= GameScreen::kWeightLayer) board.flashing = true;
        if (e.kind == "Button" && e.y >= kKeypadTop) board.keypadShown = true;
    }
    const bool ringShown = ring.right > ring.left && ring.bottom > ring.top;
    for (size_t i = 0; i < board.weights.size(); ++i) {
        if (board.weights[i].carried) board.carried = static_cast<int>(i);
        if (ringShown && board.weights[i].bounds == ring) board.ringed = static_cast<int>(i);
    }
    return board;
}

}  // namespace pw
