// Points for solved puzzles and the automatic levelling they feed, played
// through the stylus.
#include "tests/game_test_support.h"

namespace pw::gametest {
namespace {

class GameScoringTest : public GameFixture {
protected:
    // The weights of the fewest-move solution, with the pan each goes to.
    std::vector<std::pair<Weight*, bool>> Plan() {
        std::vector<std::pair<Weight*, bool>> plan;
        const std::vector<Weight*> tray = TrayWeights(*screen);
        for (const TrayPlacement& p : Solution().placements)
            plan.emplace_back(tray[static_cast<size_t>(p.trayIndex)], p.pan == PanSide::Left);
        return plan;
    }

    // Drops the weight on the pan of the grey weight (only heavier, never
    // level for a one-grey puzzle) and takes it back to the tray: one wasted
    // move.
    void WasteAMove(Weight* weight) {
        const bool greyLeft = screen->leftPan.count > 0 && IsGrey(screen->leftPan.ItemAt(0));
        DropOn(greyLeft, weight);
        DropInTray(weight);
    }
};

TEST_F(GameScoringTest, LevelOneInOneDropEarns48) {
    GameScreen& g = Start(1, 2);
    auto plan = Plan();
    ASSERT_EQ(plan.size(), 1u);
    SolveByDrags();
    EXPECT_EQ(g.settings.score, 24);
    EXPECT_EQ(g.scoreText->text, u"24");
    FinishFlash();
    EXPECT_EQ(g.settings.score, 48);
    EXPECT_EQ(g.scoreText->text, u"48");
    EXPECT_EQ(StoredValue("score"), "48");
    EXPECT_EQ(g.settings.levelPoints, 24);
}

TEST_F(GameScoringTest, LevelSixWithThreeDropsEarns36AndIsAFailure) {
    GameScreen& g = Start(6, 3, true);
    auto plan = Plan();
    ASSERT_EQ(plan.size(), 2u);
    // The first weight goes to the wrong pan first, then across.
    DropOn(!plan[0].second, plan[0].first);
    EXPECT_FALSE(g.solved);
    DropOn(plan[0].second, plan[0].first);
    DropOn(plan[1].second, plan[1].first);
    ASSERT_TRUE(g.solved);
    EXPECT_EQ(g.moves, 3);
    EXPECT_EQ(g.settings.score, 12);
    ASSERT_EQ(g.settings.results.count, 1);
    EXPECT_EQ(g.settings.results.ItemAt(0), 0);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 36);
}

TEST_F(GameScoringTest, LevelTwelveWithFourDropsAndTwoClearsEarns30) {
    GameScreen& g = Start(12, 4);
    auto plan = Plan();
    ASSERT_EQ(plan.size(), 2u);
    Weight* spare = nullptr;
    for (Weight* w : TrayWeights(g))
        if (w != plan[0].first && w != plan[1].first) spare = w;
    WasteAMove(spare);
    WasteAMove(spare);
    for (auto& [weight, left] : plan) DropOn(left, weight);
    ASSERT_TRUE(g.solved);
    EXPECT_EQ(g.moves, 4);
    EXPECT_EQ(g.settings.score, 24);
    FinishFlash();
    Tap(g.clearButton);
    Tap(g.clearButton);
    TypeNumber(g.pendingWeight->initialValue);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 30);
}

TEST_F(GameScoringTest, FiveExtraMovesEarnNothingButTheAwardIsStillWritten) {
    GameScreen& g = Start(1, 5);
    auto plan = Plan();
    ASSERT_EQ(plan.size(), 1u);
    ASSERT_FALSE(StoredValue("score").has_value());
    Weight* spare = TrayWeights(g)[plan[0].first == TrayWeights(g)[0] ? 1 : 0];
    for (int i = 0; i < 5; ++i) WasteAMove(spare);
    DropOn(plan[0].second, plan[0].first);
    ASSERT_TRUE(g.solved);
    EXPECT_EQ(g.moves, 6);
    EXPECT_EQ(g.settings.score, 0);
    EXPECT_EQ(StoredValue("score"), "0");
    EXPECT_EQ(g.settings.levelPoints, 24);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 24);
}

TEST_F(GameScoringTest, FourSuccessesAtLevelFiveThenTwoDropsStillPromoteWith12Points) {
    GameScreen& g = Start(5, 6, true);
    for (int puzzle = 0; puzzle < 4; ++puzzle) {
        SolveByDrags();
        ASSERT_EQ(g.moves, 1);
        FinishFlash();
    }
    EXPECT_EQ(g.settings.score, 4 * 48);
    EXPECT_EQ(g.settings.level, 5);
    ASSERT_EQ(g.settings.results.count, 4);

    auto plan = Plan();
    ASSERT_EQ(plan.size(), 1u);
    // A lone tray weight beside the lighter grey weight goes first: it is
    // never the difference itself, which is the one weight that levels it.
    Weight* spare = TrayWeights(g)[plan[0].first == TrayWeights(g)[0] ? 1 : 0];
    const bool heavierLeft = g.Balance() < 0;
    DropOn(!heavierLeft, spare);
    ASSERT_FALSE(g.solved);
    DropInTray(spare);
    SolveByDrags();
    ASSERT_TRUE(g.solved);
    EXPECT_EQ(g.moves, 2);
    // Judged against the par of level 5: a failure, but four successes in five.
    EXPECT_EQ(g.settings.level, 6);
    EXPECT_EQ(StoredValue("level"), "6");
    EXPECT_EQ(g.settings.results.count, 0);
    EXPECT_EQ(g.settings.score, 4 * 48 + 12);
    // The puzzle on the board is still the level 5 one: two grey weights.
    EXPECT_EQ(GreyWeights(g).size(), 2u);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 4 * 48 + 12 + 24);
    // Level 6 builds a sum puzzle: one grey weight.
    EXPECT_EQ(GreyWeights(g).size(), 1u);
}

TEST_F(GameScoringTest, AbandonedLevelKeepsOnlyThePointsAlreadyGiven) {
    GameScreen& g = Start(13, 8);
    SolveByDrags();
    FinishFlash();
    ASSERT_EQ(g.settings.score, 24);
    Tap(g.optionsButton);
    Tap(g.levelDownButton);
    Tap(g.okButton);
    EXPECT_EQ(g.settings.level, 12);
    EXPECT_EQ(g.settings.score, 24);
    EXPECT_FALSE(g.keypadPanel->visible);
    EXPECT_FALSE(g.solved);
}

}  // namespace
}  // namespace pw::gametest
