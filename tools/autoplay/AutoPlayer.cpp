#include "tools/autoplay/AutoPlayer.h"

#include <algorithm>
#include <vector>

#include "game/GameView.h"
#include "tools/autoplay/PuzzleSolver.h"
#include "tools/autoplay/ReplayPassRunner.h"

namespace pw {

namespace {

constexpr int32_t kTitlePressX = 120;
constexpr int32_t kTitlePressY = 160;
constexpr uint32_t kFirstEventAt = 1000;
constexpr uint32_t kTapHoldMs = 60;
constexpr uint32_t kTapGapMs = 150;

// Where a stylus would touch the middle of an element.
int32_t MiddleX(const ViewElement& e) { return e.x + e.width / 2; }
int32_t MiddleY(const ViewElement& e) { return e.y + e.height / 2; }

// The grey weight whose number waits to be typed.
const ViewElement* HiddenWeight(const GameView& view) {
    for (const ViewElement& e : view.elements)
        if (e.isWeight && e.grey && e.pan != ViewElement::Pan::None && !e.showNumber) return &e;
    return nullptr;
}

bool KeypadWaits(const GameView& view) {
    const ViewElement* zero = view.Find(Control::Digit0);
    return view.keypadShown && zero != nullptr && zero->visible && zero->enabled &&
           HiddenWeight(view) != nullptr;
}

std::vector<int32_t> Masses(const GameView& view, ViewElement::Pan pan) {
    std::vector<int32_t> masses;
    for (const ViewElement& e : view.elements)
        if (e.isWeight && e.pan == pan && !e.carried) masses.push_back(e.value);
    return masses;
}

}  // namespace

void AutoPlayer::Plan(ReplayPassRunner& runner) {
    if (!error_.empty()) return End(runner);
    if (runner.EventCount() == 0) {
        // The title starts play on a press; its release reaches the game.
        Tap(runner, kFirstEventAt, kTitlePressX, kTitlePressY);
        return;
    }
    const GameView view = runner.View();
    if (view.screen != GameView::Screen::Game) {
        error_ = "the title screen did not give way to the game";
        return End(runner);
    }
    if (expectLevel_) {
        expectLevel_ = false;
        if (!KeypadWaits(view)) {
            if (view.balanced || view.moves != 0) {
                error_ = "the scale came level but no new puzzle followed";
                return End(runner);
            }
            ++puzzlesSolved_;
        }
    }
    if (puzzlesSolved_ >= puzzlesWanted_) return End(runner);
    PlanOnBoard(runner, view);
}

void AutoPlayer::PlanOnBoard(ReplayPassRunner& runner, const GameView& view) {
    if (KeypadWaits(view)) {
        TypeNumber(runner, view, HiddenWeight(view)->initialValue);
        expectLevel_ = true;
        return;
    }
    std::vector<const ViewElement*> tray;
    for (const ViewElement& e : view.elements)
        if (e.isWeight && !e.grey && e.pan == ViewElement::Pan::None) tray.push_back(&e);
    std::sort(tray.begin(), tray.end(),
              [](const ViewElement* a, const ViewElement* b) { return a->homeX < b->homeX; });
    std::vector<int32_t> trayMasses;
    for (const ViewElement* weight : tray) trayMasses.push_back(weight->value);
    const PuzzleSolution solution = PuzzleSolver::Solve(Masses(view, ViewElement::Pan::Left),
                                                        Masses(view, ViewElement::Pan::Right), trayMasses);
    if (!solution.found || solution.placements.empty() || !tray.front()->enabled) {
        error_ = "no move balances the board at " + std::to_string(runner.Now());
        return End(runner);
    }
    // One weight per gesture; the board is read again before the next one.
    const TrayPlacement& first = solution.placements.front();
    const ViewElement& weight = *tray[static_cast<size_t>(first.trayIndex)];
    const Rect& zone = first.pan == PanSide::Left ? view.leftPanZone : view.rightPanZone;
    // The middle of the pan's drop zone.
    Drag(runner, weight.homeX + weight.width / 2, weight.homeY + weight.height / 2,
         (zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2);
    expectLevel_ = solution.placements.size() == 1;
}

void AutoPlayer::Drag(ReplayPassRunner& runner, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    uint32_t at = runner.Now() + kThinkMs;
    runner.Queue(ReplayEvent{at, ReplayEvent::Type::Down, fromX, fromY});
    for (int step = 1; step <= kMovesPerDrag; ++step) {
        at += kMoveStepMs;
        const int32_t x = fromX + (toX - fromX) * step / kMovesPerDrag;
        const int32_t y = fromY + (toY - fromY) * step / kMovesPerDrag;
        runner.Queue(ReplayEvent{at, ReplayEvent::Type::Move, x, y});
    }
    runner.Queue(ReplayEvent{at + kMoveStepMs, ReplayEvent::Type::Up, toX, toY});
}

void AutoPlayer::Tap(ReplayPassRunner& runner, uint32_t at, int32_t x, int32_t y) {
    runner.Queue(ReplayEvent{at, ReplayEvent::Type::Down, x, y});
    runner.Queue(ReplayEvent{at + kTapHoldMs, ReplayEvent::Type::Up, x, y});
}

void AutoPlayer::TypeNumber(ReplayPassRunner& runner, const GameView& view, int32_t number) {
    const std::string digits = std::to_string(number);
    uint32_t at = runner.Now() + kThinkMs;
    for (char c : digits) {
        const ViewElement& button =
            *view.Find(static_cast<Control>(static_cast<int>(Control::Digit0) + c - '0'));
        Tap(runner, at, MiddleX(button), MiddleY(button));
        at += kTapGapMs;
    }
}

void AutoPlayer::End(ReplayPassRunner& runner) {
    // A little slack after the last gesture lets the final repaint through.
    runner.Queue(ReplayEvent{runner.Now() + 100, ReplayEvent::Type::End, 0, 0});
}

}  // namespace pw
