#include "tools/autoplay/AutoPlayer.h"

#include <algorithm>
#include <vector>

#include "game/GameScreen.h"
#include "tools/autoplay/PuzzleSolver.h"
#include "resources/ResourceIds.h"
#include "tools/autoplay/ReplayPassRunner.h"

namespace pw {

namespace {

// Where the stylus drops a weight: the middle of each pan's drop zone.
constexpr int32_t kLeftDropX = (GameScreen::kLeftPanZone.left + GameScreen::kLeftPanZone.right) / 2;
constexpr int32_t kRightDropX = (GameScreen::kRightPanZone.left + GameScreen::kRightPanZone.right) / 2;
constexpr int32_t kDropY = (GameScreen::kLeftPanZone.top + GameScreen::kLeftPanZone.bottom) / 2;
constexpr int32_t kTitlePressX = 120;
constexpr int32_t kTitlePressY = 160;
constexpr uint32_t kFirstEventAt = 1000;
constexpr uint32_t kTapHoldMs = 60;
constexpr uint32_t kTapGapMs = 150;

bool IsGrey(const Weight* weight) { return weight->bitmapId == res::kGreyWeight; }

bool OnPan(const PointerList<Weight>& pan, const Weight* weight) {
    for (auto* node = pan.head; node != nullptr; node = node->next)
        if (node->item == weight) return true;
    return false;
}

std::vector<int32_t> Masses(const PointerList<Weight>& pan) {
    std::vector<int32_t> masses;
    for (auto* node = pan.head; node != nullptr; node = node->next) masses.push_back(node->item->value);
    return masses;
}

bool KeypadWaits(const GameScreen& game) {
    const Button* zero = game.digitButtons[0];
    return game.pendingWeight != nullptr && zero != nullptr && zero->visible && zero->enabled;
}

}  // namespace

void AutoPlayer::Plan(ReplayPassRunner& runner) {
    if (!error_.empty()) return End(runner);
    if (runner.EventCount() == 0) {
        // The title starts play on a press; its release reaches the game.
        Tap(runner, kFirstEventAt, kTitlePressX, kTitlePressY);
        return;
    }
    GameScreen* game = runner.Game();
    if (runner.OnTitle() || game == nullptr) {
        error_ = "the title screen did not give way to the game";
        return End(runner);
    }
    if (expectLevel_) {
        expectLevel_ = false;
        if (!KeypadWaits(*game)) {
            if (game->solved || game->moves != 0) {
                error_ = "the scale came level but no new puzzle followed";
                return End(runner);
            }
            ++puzzlesSolved_;
        }
    }
    if (puzzlesSolved_ >= puzzlesWanted_) return End(runner);
    PlanOnBoard(runner, *game);
}

void AutoPlayer::PlanOnBoard(ReplayPassRunner& runner, GameScreen& game) {
    if (KeypadWaits(game)) {
        TypeNumber(runner, game, game.pendingWeight->initialValue);
        expectLevel_ = true;
        return;
    }
    std::vector<Weight*> tray;
    for (auto* node = game.levelWeights.head; node != nullptr; node = node->next) {
        Weight* weight = node->item;
        if (!IsGrey(weight) && !OnPan(game.leftPan, weight) && !OnPan(game.rightPan, weight))
            tray.push_back(weight);
    }
    std::sort(tray.begin(), tray.end(), [](const Weight* a, const Weight* b) { return a->homeX < b->homeX; });
    std::vector<int32_t> trayMasses;
    for (const Weight* weight : tray) trayMasses.push_back(weight->value);
    const PuzzleSolution solution =
        PuzzleSolver::Solve(Masses(game.leftPan), Masses(game.rightPan), trayMasses);
    if (!solution.found || solution.placements.empty() || !tray.front()->enabled) {
        error_ = "no move balances the board at " + std::to_string(runner.Now());
        return End(runner);
    }
    // One weight per gesture; the board is read again before the next one.
    const TrayPlacement& first = solution.placements.front();
    const Weight* weight = tray[static_cast<size_t>(first.trayIndex)];
    const int32_t toX = first.pan == PanSide::Left ? kLeftDropX : kRightDropX;
    Drag(runner, weight->homeX + weight->GetWidth() / 2, weight->homeY + weight->GetHeight() / 2, toX,
         kDropY);
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

void AutoPlayer::TypeNumber(ReplayPassRunner& runner, GameScreen& game, int32_t number) {
    const std::string digits = std::to_string(number);
    uint32_t at = runner.Now() + kThinkMs;
    for (char c : digits) {
        const Button* button = game.digitButtons[static_cast<size_t>(c - '0')];
        Tap(runner, at, button->GetX() + button->GetWidth() / 2, button->GetY() + button->GetHeight() / 2);
        at += kTapGapMs;
    }
}

void AutoPlayer::End(ReplayPassRunner& runner) {
    // A little slack after the last gesture lets the final repaint through.
    runner.Queue(ReplayEvent{runner.Now() + 100, ReplayEvent::Type::End, 0, 0});
}

}  // namespace pw
