#include "narration/BoardReading.h"

#include <algorithm>

namespace pw {

namespace {

// Edges count as inside, as the game's own drop test counts them.
bool Touches(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

void ReadWeights(const GameView& scene, Board& board) {
    int32_t greys = 0;
    for (const ViewElement& e : scene.elements) {
        if (!e.isWeight) continue;
        BoardWeight w;
        w.number = e.value;
        w.numberShown = e.showNumber;
        w.grey = e.grey;
        // Grey weights never leave their pans nor change places in the list.
        w.place = e.grey ? -1 - greys++ : e.homeX;
        w.pan = e.pan;
        w.carried = e.carried;
        w.movable = e.visible && e.enabled && e.movable;
        w.bounds = e.Bounds();
        board.weights.push_back(w);
    }
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
    for (const ViewElement& e : scene.elements)
        if (e.isWeight)
            dealt.emplace_back(e.grey ? (e.pan == ViewElement::Pan::Left ? -1 : -2) : e.homeX,
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
    if (Touches(w->bounds, leftPanZone)) return Over::LeftPan;
    if (Touches(w->bounds, rightPanZone)) return Over::RightPan;
    return Over::Tray;
}

Board ReadBoard(const GameView& scene, const Rect& ring) {
    Board board;
    board.screen = scene.screen;
    board.score = scene.score;
    board.level = scene.level;
    board.autoLevelling = scene.autoLevelling;
    if (scene.screen != GameView::Screen::Game) return board;
    ReadWeights(scene, board);
    board.tip = scene.tip;
    board.flashing = scene.flashing;
    board.hintUsed = scene.hintUsed;
    board.keypadShown = scene.keypadShown;
    board.optionsOpen = scene.optionsOpen;
    board.resetTicked = scene.resetTicked;
    board.leftPanZone = scene.leftPanZone;
    board.rightPanZone = scene.rightPanZone;
    const bool ringShown = ring.right > ring.left && ring.bottom > ring.top;
    for (size_t i = 0; i < board.weights.size(); ++i) {
        if (board.weights[i].carried) board.carried = static_cast<int>(i);
        if (ringShown && board.weights[i].bounds == ring) board.ringed = static_cast<int>(i);
    }
    return board;
}

}  // namespace pw
