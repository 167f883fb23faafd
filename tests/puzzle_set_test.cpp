// Puzzle sets: the same set played twice, once flawlessly and once with extra
// moves, keypad clears and the hint, gives the same boards in the same order;
// and the results history follows what was played, puzzle by puzzle.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/MainLoop.h"
#include "results/PuzzleSet.h"
#include "results/PuzzleTracker.h"
#include "replay/ReplaySettings.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ResourceIds.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/PuzzleSolver.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

constexpr int kPuzzles = 12;

void StoreSetStart(const std::string& root, const PuzzleSet& set) {
    FileRegistry registry(root);
    ReplayHeader start;
    start.score = 0;
    start.level = set.level;
    start.autoOff = 1;
    ASSERT_TRUE(StoreReplayStart(registry, start));
}

bool Grey(const Weight* w) { return w->bitmapId == res::kGreyWeight; }

bool OnPan(const PointerList<Weight>& pan, const Weight* weight) {
    for (auto* node = pan.head; node != nullptr; node = node->next)
        if (node->item == weight) return true;
    return false;
}

// The puzzle as built: every weight's kind, starting number and home.
std::string Board(const GameScreen& game) {
    std::string board;
    for (auto* node = game.levelWeights.head; node != nullptr; node = node->next) {
        const Weight* w = node->item;
        board += (Grey(w) ? "g" : "y") + std::to_string(w->initialValue) + "@" + std::to_string(w->homeX) +
                 "," + std::to_string(w->homeY) + " ";
    }
    return board;
}

void Tap(ReplayPassRunner& r, int32_t x, int32_t y) {
    const uint32_t at = r.Now() + 120;
    r.Queue(ReplayEvent{at, ReplayEvent::Type::Down, x, y});
    r.Queue(ReplayEvent{at + 60, ReplayEvent::Type::Up, x, y});
}

void Drag(ReplayPassRunner& r, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    uint32_t at = r.Now() + 120;
    r.Queue(ReplayEvent{at, ReplayEvent::Type::Down, fromX, fromY});
    for (int step = 1; step <= 8; ++step)
        r.Queue(ReplayEvent{at += 16, ReplayEvent::Type::Move, fromX + (toX - fromX) * step / 8,
                            fromY + (toY - fromY) * step / 8});
    r.Queue(ReplayEvent{at + 16, ReplayEvent::Type::Up, toX, toY});
}

void Center(const Figure* f, int32_t& x, int32_t& y) {
    x = f->GetX() + f->GetWidth() / 2;
    y = f->GetY() + f->GetHeight() / 2;
}

// A player who fumbles: every puzzle starts with a weight put on the left pan
// and taken back (an extra move); every hidden number starts with a press of
// the bin, and every other one is given up for the hint.
class FumblingPlayer {
public:
    std::vector<std::string> boards;

    void Plan(ReplayPassRunner& r) {
        if (r.EventCount() == 0) return Tap(r, 120, 160);
        GameScreen& game = *r.Game();
        const std::string board = Board(game);
        if (boards.empty() || board != boards.back() || (game.moves == 0 && !game.solved && step_ == 3)) {
            boards.push_back(board);
            step_ = 0;
            cleared_ = false;
        }
        if (static_cast<int>(boards.size()) > kPuzzles) {
            boards.pop_back();
            return r.Queue(ReplayEvent{r.Now() + 100, ReplayEvent::Type::End, 0, 0});
        }
        int32_t x, y;
        if (game.pendingWeight != nullptr && game.digitButtons[0]->visible) {
            step_ = 3;
            if (!cleared_) {
                cleared_ = true;
                Center(game.clearButton, x, y);
                return Tap(r, x, y);
            }
            if (++hidden_ % 2 == 0) {
                Center(game.hintButton, x, y);
                return Tap(r, x, y);
            }
            uint32_t at = r.Now();
            for (char c : std::to_string(game.pendingWeight->initialValue)) {
                Center(game.digitButtons[static_cast<size_t>(c - '0')], x, y);
                r.Queue(ReplayEvent{at += 150, ReplayEvent::Type::Down, x, y});
                r.Queue(ReplayEvent{at + 60, ReplayEvent::Type::Up, x, y});
            }
            return;
        }
        std::vector<Weight*> tray;
        for (auto* node = game.levelWeights.head; node != nullptr; node = node->next)
            if (!Grey(node->item) && !OnPan(game.leftPan, node->item) && !OnPan(game.rightPan, node->item))
                tray.push_back(node->item);
        std::sort(tray.begin(), tray.end(),
                  [](const Weight* a, const Weight* b) { return a->homeX < b->homeX; });
        if (step_ == 0) {
            step_ = 1;
            extra_ = tray.front();
            Center(extra_, x, y);
            return Drag(r, x, y, 50, 135);
        }
        if (step_ == 1 && (OnPan(game.leftPan, extra_) || OnPan(game.rightPan, extra_))) {
            step_ = 2;
            Center(extra_, x, y);
            return Drag(r, x, y, extra_->homeX + extra_->GetWidth() / 2,
                        extra_->homeY + extra_->GetHeight() / 2);
        }
        step_ = 3;
        std::vector<int32_t> left, right, masses;
        for (auto* n = game.leftPan.head; n != nullptr; n = n->next) left.push_back(n->item->value);
        for (auto* n = game.rightPan.head; n != nullptr; n = n->next) right.push_back(n->item->value);
        for (const Weight* w : tray) masses.push_back(w->value);
        const PuzzleSolution solution = PuzzleSolver::Solve(left, right, masses);
        ASSERT_TRUE(solution.found && !solution.placements.empty());
        const Weight* w = tray[static_cast<size_t>(solution.placements.front().trayIndex)];
        Center(w, x, y);
        Drag(r, x, y, solution.placements.front().pan == PanSide::Left ? 50 : 190, 135);
    }

private:
    int step_ = 0;
    bool cleared_ = false;
    int hidden_ = 0;
    const Weight* extra_ = nullptr;
};

TEST(PuzzleSetTest, DifferentPlayGivesTheSameBoardsAndTheHistoryFollowsIt) {
    PuzzleSet set;
    std::string error;
    ASSERT_TRUE(ParsePuzzleSet("4711-12", set, error)) << error;
    EXPECT_EQ(set.Name(), "4711-12");

    std::vector<std::string> flawless;
    {
        TempFolder config;
        StoreSetStart(config.path, set);
        ReplayPassRunner runner(config.path, set.seed);
        AutoPlayer player(kPuzzles);
        ASSERT_TRUE(runner.Run(
            [&](ReplayPassRunner& r) {
                if (r.Game() != nullptr && !r.OnTitle() && r.EventCount() > 0) {
                    const std::string board = Board(*r.Game());
                    if (flawless.empty() || flawless.back() != board) flawless.push_back(board);
                }
                player.Plan(r);
            },
            error))
            << error;
        ASSERT_EQ(player.PuzzlesSolved(), kPuzzles) << player.Error();
        EXPECT_EQ(runner.Game()->settings.level, 12);
    }
    std::string fumbledReplay;
    FumblingPlayer fumbler;
    {
        TempFolder config;
        StoreSetStart(config.path, set);
        ReplayPassRunner runner(config.path, set.seed);
        ASSERT_TRUE(runner.Run([&](ReplayPassRunner& r) { fumbler.Plan(r); }, error)) << error;
        fumbledReplay = runner.ReplayText();
        EXPECT_EQ(runner.Game()->settings.level, 12);
    }
    ASSERT_EQ(fumbler.boards.size(), static_cast<size_t>(kPuzzles));
    ASSERT_GE(flawless.size(), static_cast<size_t>(kPuzzles));
    for (int i = 0; i < kPuzzles; ++i) EXPECT_EQ(fumbler.boards[i], flawless[i]) << "puzzle " << i + 1;

    // The fumbled game again, with the history watching it.
    Replay replay;
    ASSERT_TRUE(ParseReplay(fumbledReplay, replay, error)) << error;
    TempFolder config;
    StoreSetStart(config.path, set);
    HeadlessPlatform platform(config.path);
    MainLoop loop(platform.Get());
    std::vector<ResultRow> rows;
    PuzzleTracker tracker(platform.clock, platform.time, set.Name(),
                          [&](const ResultRow& row) { rows.push_back(row); });
    loop.Watch(&tracker);
    loop.Start(replay.seed);
    ASSERT_EQ(loop.RunReplay(replay, platform.clock), 0);
    tracker.End();
    ASSERT_EQ(rows.size(), static_cast<size_t>(kPuzzles) + 1);
    int hints = 0, clears = 0;
    for (size_t i = 0; i < rows.size() - 1; ++i) {
        SCOPED_TRACE(i);
        const ResultRow& row = rows[i];
        EXPECT_TRUE(row.finished);
        EXPECT_EQ(row.level, 12);
        EXPECT_EQ(row.par, 4);
        EXPECT_EQ(row.set, "4711-12");
        EXPECT_GE(row.moves, 2) << "the extra move and at least one more";
        EXPECT_EQ(row.balancingPoints, row.moves <= 4 ? 24 : 24 >> (row.moves - 4));
        EXPECT_TRUE(row.tenths.has_value());
        if (row.hint) {
            EXPECT_EQ(row.answerPoints, 0);
        } else {
            EXPECT_EQ(row.answerPoints, 24 >> row.clears);
        }
        hints += row.hint ? 1 : 0;
        clears += row.clears;
    }
    EXPECT_GT(hints, 0);
    EXPECT_GT(clears, hints);
    EXPECT_FALSE(rows.back().finished) << "the puzzle on the board when the run ended";
}

void Press(MainLoop& loop, int x, int y) {
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, x, y, false});
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenUp, x, y, false});
}

TEST(PuzzleSetTest, APuzzleLeftForAnotherLevelIsUnfinishedAndOptionsAloneLeaveNoRow) {
    TempFolder config;
    HeadlessPlatform platform(config.path);
    MainLoop loop(platform.Get());
    std::vector<ResultRow> rows;
    PuzzleTracker tracker(platform.clock, platform.time, "",
                          [&](const ResultRow& row) { rows.push_back(row); });
    loop.Watch(&tracker);
    loop.Start(5);
    Press(loop, 120, 160);  // the title gives way to the game
    // Options opened and closed with OK, nothing changed: the same puzzle.
    Press(loop, 15, 15);
    Press(loop, 205, 175);
    EXPECT_TRUE(rows.empty());
    // Up a level and OK: the puzzle on the board is left.
    Press(loop, 15, 15);
    Press(loop, 16, 117);
    Press(loop, 205, 175);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].finished);
    EXPECT_EQ(rows[0].level, 1);
    EXPECT_EQ(rows[0].moves, 0);
    EXPECT_FALSE(rows[0].tenths.has_value());
    // Closing the game leaves the next one, of the new level.
    loop.HandleMessage(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[1].finished);
    EXPECT_EQ(rows[1].level, 2);
}

}  // namespace
}  // namespace pw
