// The game screen played through the stylus: drops on the pans, the pan
// flash, the keypad for hidden numbers, the options panel and the sounds.
#include "tests/game_test_support.h"

namespace pw::gametest {
namespace {

using GameScreenTest = GameFixture;

// The pan that holds the level's (only) grey weight.
bool GreyIsLeft(const GameScreen& screen) { return screen.leftPan.count > 0; }

// A tray weight whose mass is not the one the puzzle needs, so that dropping
// it never balances a one-grey puzzle by accident.
Weight* SpareTrayWeight(const std::vector<Weight*>& tray, const PuzzleSolution& solution) {
    for (size_t i = 0; i < tray.size(); ++i) {
        bool used = false;
        for (const TrayPlacement& p : solution.placements)
            used = used || p.trayIndex == static_cast<int32_t>(i);
        if (!used) return tray[i];
    }
    return nullptr;
}

TEST_F(GameScreenTest, ConstructionShowsTheBoardAndHidesPanelAndKeypad) {
    GameScreen& g = Start(1, 3);
    EXPECT_TRUE(g.scale->visible);
    EXPECT_FALSE(g.panFlash->visible);
    EXPECT_TRUE(g.closeIcon->visible && g.closeIcon->enabled);
    EXPECT_TRUE(g.optionsButton->visible && g.optionsButton->enabled);
    EXPECT_EQ(g.closeIcon->GetX(), 215);
    for (Figure* hidden : std::initializer_list<Figure*>{
             g.optionsPanel, g.autoCheck, g.resetCheck, g.okButton, g.levelUpButton, g.levelDownButton,
             g.levelText, g.autoHotspot, g.resetHotspot, g.keypadPanel, g.hintButton, g.clearButton}) {
        EXPECT_FALSE(hidden->visible);
        EXPECT_FALSE(hidden->enabled);
    }
    EXPECT_EQ(g.digitButtons[7]->GetX(), 60);
    EXPECT_EQ(g.digitButtons[7]->GetY(), 290);
    EXPECT_EQ(g.digitButtons[7]->tag, 7);
    EXPECT_EQ(g.hintButton->GetX(), 210);
    EXPECT_EQ(g.clearButton->GetY(), 290);
    EXPECT_EQ(g.keypadPanel->GetY(), 245);
    EXPECT_EQ(g.scoreText->text, u"0");
    EXPECT_EQ(g.background->GetLayer(), 1);
}

TEST_F(GameScreenTest, AWeightTouchingTheZoneOnlyAtItsEdgeIsDroppedOnThatPan) {
    GameScreen& g = Start(1, 5);
    std::vector<Weight*> tray = TrayWeights(g);
    Weight* spare = SpareTrayWeight(tray, Solution());
    ASSERT_NE(spare, nullptr);
    const int32_t before = g.leftPan.count;

    // Left edge at x 90: the zone's right edge.
    Drag(spare, 90 + 10, 150);
    EXPECT_EQ(g.leftPan.count, before + 1);
    EXPECT_TRUE(g.leftPan.Contains(spare));
    EXPECT_EQ(g.moves, 1);

    // One pixel further and it misses both zones: home, and no move.
    Drag(spare, 91 + 10, 150);
    EXPECT_FALSE(g.leftPan.Contains(spare));
    EXPECT_FALSE(g.rightPan.Contains(spare));
    EXPECT_EQ(spare->GetX(), spare->homeX);
    EXPECT_EQ(spare->GetY(), spare->homeY);
    EXPECT_EQ(g.moves, 1);
}

TEST_F(GameScreenTest, ASixthWeightOnAFullPanGoesHomeAndStillCountsAsAMove) {
    GameScreen& g = Start(1, 11);
    const bool greyLeft = GreyIsLeft(g);
    std::vector<Weight*> tray = TrayWeights(g);
    // Weights beside the grey one only make its pan heavier: never level.
    for (int i = 0; i < 4; ++i) DropOn(greyLeft, tray[static_cast<size_t>(i)]);
    PointerList<Weight>& pan = greyLeft ? g.leftPan : g.rightPan;
    ASSERT_EQ(pan.count, 5);
    EXPECT_EQ(g.moves, 4);

    DropOn(greyLeft, tray[4]);
    EXPECT_EQ(pan.count, 5);
    EXPECT_FALSE(pan.Contains(tray[4]));
    EXPECT_EQ(tray[4]->GetX(), tray[4]->homeX);
    EXPECT_EQ(tray[4]->GetY(), 280);
    EXPECT_EQ(g.moves, 5);

    // Taking one off lets the next one on; the fifth stands in the upper row.
    DropInTray(tray[0]);
    EXPECT_EQ(g.moves, 5);
    DropOn(greyLeft, tray[4]);
    EXPECT_TRUE(pan.Contains(tray[4]));
    EXPECT_EQ(tray[4]->GetX(), greyLeft ? 51 : 191);
    EXPECT_EQ(tray[4]->GetY(), 150 - 30);
    EXPECT_EQ(g.scale->currentFrame, greyLeft ? 0 : 2);
    EXPECT_FALSE(g.solved);
}

TEST_F(GameScreenTest, DroppingBackOntoTheSamePanCountsAndMovesTheWeightToTheEnd) {
    GameScreen& g = Start(1, 17);
    const bool greyLeft = GreyIsLeft(g);
    std::vector<Weight*> tray = TrayWeights(g);
    DropOn(greyLeft, tray[0]);
    DropOn(greyLeft, tray[1]);
    PointerList<Weight>& pan = greyLeft ? g.leftPan : g.rightPan;
    ASSERT_EQ(pan.ItemAt(1), tray[0]);

    DropOn(greyLeft, tray[0]);
    EXPECT_EQ(g.moves, 3);
    EXPECT_EQ(pan.count, 3);
    EXPECT_EQ(pan.ItemAt(1), tray[1]);
    EXPECT_EQ(pan.ItemAt(2), tray[0]);
    EXPECT_EQ(tray[0]->GetX(), greyLeft ? 64 : 204);
}

TEST_F(GameScreenTest, PanWeightsStandInTheirRowsForEachTilt) {
    GameScreen& g = Start(1, 23);
    Weight* grey = GreyWeights(g)[0];
    const bool greyLeft = GreyIsLeft(g);
    // The grey pan hangs low.
    EXPECT_EQ(grey->GetY(), 150);
    EXPECT_EQ(grey->GetX(), greyLeft ? 18 : 158);
    EXPECT_EQ(g.scale->currentFrame, greyLeft ? 0 : 2);

    SolveByDrags();
    EXPECT_EQ(g.Balance(), 0);
    EXPECT_EQ(g.scale->currentFrame, 1);
    for (Weight* w : ListOf(g.leftPan)) EXPECT_EQ(w->GetY(), 130);
    for (Weight* w : ListOf(g.rightPan)) EXPECT_EQ(w->GetY(), 130);
}

TEST_F(GameScreenTest, TheFlashDisablesTheBoardAndOnlyTheCloseIconAnswers) {
    GameScreen& g = Start(1, 29);
    SolveByDrags();
    ASSERT_TRUE(g.solved);
    EXPECT_TRUE(g.panFlash->visible);
    EXPECT_EQ(CountPlayed(res::kLevelSound), 1);
    for (Weight* w : ListOf(g.levelWeights)) EXPECT_FALSE(w->enabled);

    // Neither the options button nor a weight answers.
    hp->sound.played.clear();
    Tap(g.optionsButton);
    EXPECT_FALSE(g.optionsPanel->visible);
    Weight* trayWeight = TrayWeights(g)[0];
    Tap(trayWeight);
    EXPECT_TRUE(hp->sound.played.empty());
    EXPECT_EQ(trayWeight->GetLayer(), 20);

    WindowEvent event;
    while (hp->window.PollEvent(event)) {
    }
    g.OnPenDown(g.closeIcon->GetX() + 10, g.closeIcon->GetY() + 10);
    ASSERT_TRUE(hp->window.PollEvent(event));
    EXPECT_EQ(event.type, WindowEvent::Type::Destroy);
}

TEST_F(GameScreenTest, TheFlashEndsWithTheNextPuzzleForAShownNumber) {
    GameScreen& g = Start(1, 31);
    SolveByDrags();
    FinishFlash();
    EXPECT_FALSE(g.panFlash->visible);
    EXPECT_FALSE(g.solved);
    EXPECT_EQ(g.moves, 0);
    EXPECT_TRUE(g.optionsButton->enabled);
    EXPECT_NE(g.Balance(), 0);
    for (Weight* w : TrayWeights(g)) EXPECT_TRUE(w->enabled);
    EXPECT_FALSE(g.keypadPanel->visible);
}

TEST_F(GameScreenTest, HiddenNumberOpensTheKeypadAndDigitsTiltTheScale) {
    GameScreen& g = Start(10, 37);
    Weight* grey = g.pendingWeight;
    ASSERT_NE(grey, nullptr);
    EXPECT_FALSE(grey->showNumber);
    const int32_t mass = grey->initialValue;
    SolveByDrags();
    EXPECT_EQ(g.pendingWeight, grey);
    EXPECT_FALSE(g.keypadPanel->visible);
    FinishFlash();

    // Typing: the keypad is up, the grey weight asks for its number.
    EXPECT_TRUE(g.keypadPanel->visible);
    for (Button* digit : g.digitButtons) EXPECT_TRUE(digit->visible && digit->enabled);
    EXPECT_TRUE(g.clearButton->enabled && g.hintButton->enabled);
    EXPECT_TRUE(g.optionsButton->enabled);
    EXPECT_EQ(g.clears, 0);

    // A wrong digit tilts the scale toward the lighter reading.
    const int32_t wrong = mass == 9 ? 8 : 9;
    Tap(g.digitButtons[static_cast<size_t>(wrong)]);
    EXPECT_EQ(grey->value, wrong);
    EXPECT_TRUE(grey->showNumber);
    const bool greyLeft = g.leftPan.Contains(grey);
    const bool greyHeavier = wrong > mass;
    EXPECT_EQ(g.scale->currentFrame, greyLeft == greyHeavier ? 0 : 2);
    EXPECT_FALSE(g.panFlash->visible);

    // Clear puts the true mass back (level again) and wipes the number.
    Tap(g.clearButton);
    EXPECT_EQ(g.clears, 1);
    EXPECT_EQ(grey->value, mass);
    EXPECT_EQ(grey->typedValue, 0);
    EXPECT_FALSE(grey->showNumber);
    EXPECT_EQ(g.scale->currentFrame, 1);
    EXPECT_FALSE(g.panFlash->visible);
    EXPECT_EQ(g.pendingWeight, grey);

    const int32_t scoreBefore = g.settings.score;
    TypeNumber(mass);
    EXPECT_EQ(g.pendingWeight, nullptr);
    EXPECT_TRUE(g.panFlash->visible);
    for (Button* digit : g.digitButtons) EXPECT_FALSE(digit->enabled);
    FinishFlash();
    // One clear halves the answer's points.
    EXPECT_EQ(g.settings.score, scoreBefore + 12);
    EXPECT_FALSE(g.keypadPanel->visible);
    EXPECT_NE(g.pendingWeight, nullptr);
}

TEST_F(GameScreenTest, TheHintEndsTheLevelWithoutAnswerPoints) {
    GameScreen& g = Start(10, 41);
    Weight* grey = g.pendingWeight;
    SolveByDrags();
    EXPECT_EQ(g.settings.score, 24);
    FinishFlash();
    Tap(g.digitButtons[0]);
    Tap(g.hintButton);
    EXPECT_TRUE(g.hintUsed);
    EXPECT_EQ(g.pendingWeight, nullptr);
    EXPECT_EQ(grey->value, grey->initialValue);
    EXPECT_TRUE(grey->showNumber);
    EXPECT_TRUE(g.panFlash->visible);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 24);
    EXPECT_EQ(StoredValue("score"), "24");
    EXPECT_FALSE(g.hintUsed);
    EXPECT_FALSE(g.solved);
}

TEST_F(GameScreenTest, TheOpenOptionsPanelCoversThePanWeights) {
    GameScreen& g = Start(1, 43);
    Weight* grey = GreyWeights(g)[0];
    Tap(g.optionsButton);
    ASSERT_TRUE(g.optionsPanel->visible);
    EXPECT_FALSE(g.optionsButton->enabled);
    EXPECT_FALSE(g.closeIcon->enabled);
    for (Weight* w : TrayWeights(g)) EXPECT_FALSE(w->enabled);

    // Drawn above the weights of the same layer...
    bool panelSeen = false;
    for (auto* node = g.elements.head; node != nullptr; node = node->next) {
        if (node->item == g.optionsPanel) panelSeen = true;
        if (node->item == grey) {
            EXPECT_FALSE(panelSeen);
        }
    }
    // ...so the shown picture has the panel's pixel where the grey weight is.
    g.active = true;
    g.Paint(hp->window, true);
    const Surface* panel = g.optionsPanel->GetSurface();
    int checked = 0;
    for (int32_t y = grey->GetY(); y < grey->GetY() + grey->GetHeight(); ++y) {
        for (int32_t x = grey->GetX(); x < grey->GetX() + grey->GetWidth(); ++x) {
            const Pixel p = panel->At(x - g.optionsPanel->GetX(), y - g.optionsPanel->GetY());
            if (p == KeyColour) continue;
            EXPECT_EQ(hp->window.Shown().At(x, y), p);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);

    // A press on a tray weight does nothing while the panel is open.
    hp->sound.played.clear();
    Tap(TrayWeights(g)[2]);
    EXPECT_TRUE(hp->sound.played.empty());

    Tap(g.okButton);
    EXPECT_FALSE(g.optionsPanel->visible);
    EXPECT_TRUE(g.closeIcon->enabled);
    for (Weight* w : TrayWeights(g)) EXPECT_TRUE(w->enabled);
    EXPECT_FALSE(grey->enabled);
}

TEST_F(GameScreenTest, LevelArrowsStopAtTheEndsAndWriteNothingThere) {
    GameScreen& g = Start(1, 47);
    // Something else in the stored value shows whether the game wrote it.
    hp->registry.CreateKey(SettingsStore::kKeyPath)->WriteValue("level", "9");
    Tap(g.optionsButton);
    Tap(g.levelDownButton);
    EXPECT_EQ(g.settings.level, 1);
    EXPECT_EQ(g.settings.levelChanged, 0);
    EXPECT_EQ(StoredValue("level"), "9");
    EXPECT_EQ(g.levelText->text, u"1");
    Tap(g.okButton);

    Start(15, 47);
    hp->registry.CreateKey(SettingsStore::kKeyPath)->WriteValue("level", "9");
    Tap(screen->optionsButton);
    Tap(screen->levelUpButton);
    EXPECT_EQ(screen->settings.level, 15);
    EXPECT_EQ(StoredValue("level"), "9");
    Tap(screen->levelDownButton);
    EXPECT_EQ(screen->settings.level, 14);
    EXPECT_EQ(StoredValue("level"), "14");
    EXPECT_EQ(screen->levelText->text, u"14");
    EXPECT_TRUE(screen->levelText->visible);
}

TEST_F(GameScreenTest, OkRestartsTheLevelOnlyAfterALevelChange) {
    GameScreen& g = Start(3, 53);
    Weight* spare = TrayWeights(g)[0];
    // Beside the grey pair its pan only gets heavier.
    DropOn(g.leftPan.count > 0, spare);
    ASSERT_EQ(g.moves, 1);

    Tap(g.optionsButton);
    Tap(g.okButton);
    EXPECT_EQ(g.moves, 1);

    // Up and back down is still a change: the puzzle is dropped.
    Tap(g.optionsButton);
    Tap(g.levelUpButton);
    Tap(g.levelDownButton);
    EXPECT_EQ(g.settings.level, 3);
    Tap(g.okButton);
    EXPECT_EQ(g.settings.levelChanged, 0);
    EXPECT_EQ(g.moves, 0);
    for (Weight* w : TrayWeights(g)) EXPECT_EQ(w->GetX(), w->homeX);
    EXPECT_EQ(GreyWeights(g).size(), 2u);
}

TEST_F(GameScreenTest, ScoreResetTakesEffectOnOkOnly) {
    GameScreen& g = Start(1, 59);
    SolveByDrags();
    FinishFlash();
    ASSERT_EQ(g.settings.score, 48);

    Tap(g.optionsButton);
    Tap(g.resetHotspot);
    EXPECT_TRUE(g.resetCheck->visible);
    Tap(g.resetHotspot);
    EXPECT_FALSE(g.resetCheck->visible);
    Tap(g.okButton);
    EXPECT_EQ(g.settings.score, 48);

    Tap(g.optionsButton);
    Tap(g.resetHotspot);
    EXPECT_EQ(g.settings.score, 48);
    EXPECT_EQ(StoredValue("score"), "48");
    Tap(g.okButton);
    EXPECT_EQ(g.settings.score, 0);
    EXPECT_EQ(StoredValue("score"), "0");
    EXPECT_EQ(g.scoreText->text, u"0");

    // The box opens unticked every time.
    Tap(g.optionsButton);
    EXPECT_FALSE(g.resetCheck->visible);
}

TEST_F(GameScreenTest, AutomaticLevelingBoxFollowsAndWritesTheOption) {
    GameScreen& g = Start(1, 61, true);
    Tap(g.optionsButton);
    EXPECT_TRUE(g.autoCheck->visible);
    Tap(g.autoHotspot);
    EXPECT_FALSE(g.autoCheck->visible);
    EXPECT_EQ(g.settings.autoAdjust, 0);
    EXPECT_EQ(StoredValue("auto"), "1");
    Tap(g.okButton);
    Tap(g.optionsButton);
    EXPECT_FALSE(g.autoCheck->visible);
    Tap(g.autoHotspot);
    EXPECT_TRUE(g.autoCheck->visible);
    EXPECT_EQ(StoredValue("auto"), "0");
}

TEST_F(GameScreenTest, ResetDuringTypingLetsTheAnswerAddToZero) {
    GameScreen& g = Start(11, 67);
    SolveByDrags();
    FinishFlash();
    ASSERT_NE(g.pendingWeight, nullptr);
    Tap(g.optionsButton);
    for (Button* digit : g.digitButtons) EXPECT_FALSE(digit->enabled);
    Tap(g.resetHotspot);
    Tap(g.okButton);
    EXPECT_EQ(g.settings.score, 0);
    for (Button* digit : g.digitButtons) EXPECT_TRUE(digit->enabled);
    TypeNumber(g.pendingWeight->initialValue);
    FinishFlash();
    EXPECT_EQ(g.settings.score, 24);
}

TEST_F(GameScreenTest, WeightsPlayPickAndDropButtonsPlayTheirSoundOnPress) {
    GameScreen& g = Start(10, 71);
    Weight* w = TrayWeights(g)[0];
    hp->sound.played.clear();
    g.OnPenDown(w->GetX() + 10, w->GetY() + 15);
    EXPECT_EQ(hp->sound.played, std::vector<int>{res::kPickSound});
    EXPECT_EQ(w->GetLayer(), 40);
    g.OnPenUp(120, 230);
    EXPECT_EQ(hp->sound.played, (std::vector<int>{res::kPickSound, res::kDropSound}));
    EXPECT_EQ(w->GetLayer(), 20);

    SolveByDrags();
    FinishFlash();
    hp->sound.played.clear();
    Button* digit = g.digitButtons[3];
    g.OnPenDown(digit->GetX() + 5, digit->GetY() + 5);
    EXPECT_EQ(hp->sound.played, std::vector<int>{res::kClickSound});
    g.OnPenUp(digit->GetX() + 5, digit->GetY() + 5);
    EXPECT_EQ(CountPlayed(res::kClickSound), 1);
}

TEST_F(GameScreenTest, EveryLevelCanBePlayedToTheNextPuzzleByDrags) {
    for (int32_t level = 1; level <= GameScreen::kLevelCount; ++level) {
        SCOPED_TRACE(level);
        GameScreen& g = Start(level, 100 + static_cast<unsigned>(level));
        const PuzzleSolution solution = Solution();
        ASSERT_TRUE(solution.found);
        Weight* pending = g.pendingWeight;
        const int32_t scoreBefore = g.settings.score;
        SolveByDrags();
        EXPECT_TRUE(g.solved);
        ASSERT_EQ(g.moves, static_cast<int32_t>(solution.placements.size()));
        FinishFlash();
        if (pending != nullptr) {
            ASSERT_TRUE(g.keypadPanel->visible);
            TypeNumber(pending->initialValue);
            FinishFlash();
        }
        // Balancing points halve with every drop beyond par; the answer earns 24.
        int32_t expected = 24;
        const int32_t drops = static_cast<int32_t>(solution.placements.size());
        for (int32_t extra = drops - GameScreen::ParFor(level); extra > 0; --extra) expected /= 2;
        EXPECT_EQ(g.settings.score - scoreBefore, expected + 24);
        EXPECT_FALSE(g.solved);
        EXPECT_NE(g.Balance(), 0);
    }
}

}  // namespace
}  // namespace pw::gametest
