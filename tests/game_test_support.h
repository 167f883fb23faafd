#pragma once
// Shared pieces for the game screen tests: a game screen on the headless
// backend with its own temporary settings folder, and the player's gestures
// (drags, taps, waiting for the pan flash) expressed through the screen's pen
// operations and ticks.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/GameScreen.h"
#include "tools/autoplay/PuzzleSolver.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ResourceIds.h"
#include "tools/autoplay/TempFolder.h"

namespace pw::gametest {

using TempConfig = pw::TempFolder;

inline bool IsGrey(const Weight* weight) { return weight->bitmapId == res::kGreyWeight; }

inline std::vector<Weight*> ListOf(const PointerList<Weight>& list) {
    std::vector<Weight*> out;
    for (auto* node = list.head; node != nullptr; node = node->next) out.push_back(node->item);
    return out;
}

inline std::vector<int32_t> MassesOf(const PointerList<Weight>& list) {
    std::vector<int32_t> out;
    for (auto* node = list.head; node != nullptr; node = node->next) out.push_back(node->item->value);
    return out;
}

// The yellow weights in tray order (by home place).
inline std::vector<Weight*> TrayWeights(const GameScreen& screen) {
    std::vector<Weight*> tray;
    for (Weight* w : ListOf(screen.levelWeights))
        if (!IsGrey(w)) tray.push_back(w);
    std::sort(tray.begin(), tray.end(), [](Weight* a, Weight* b) { return a->homeX < b->homeX; });
    return tray;
}

inline std::vector<int32_t> TrayMasses(const GameScreen& screen) {
    std::vector<int32_t> masses;
    for (Weight* w : TrayWeights(screen)) masses.push_back(w->value);
    return masses;
}

inline std::vector<Weight*> GreyWeights(const GameScreen& screen) {
    std::vector<Weight*> greys;
    for (Weight* w : ListOf(screen.levelWeights))
        if (IsGrey(w)) greys.push_back(w);
    return greys;
}

// Grey masses on each pan: what the player cannot move.
inline std::vector<int32_t> GreyMassesOn(const PointerList<Weight>& pan) {
    std::vector<int32_t> out;
    for (Weight* w : ListOf(pan))
        if (IsGrey(w)) out.push_back(w->value);
    return out;
}

// A game screen with the headless platform under it, settings in a fresh
// folder. The level is chosen before the first puzzle counts for anything.
class GameFixture : public ::testing::Test {
protected:
    static constexpr int32_t kLeftDropX = 50;
    static constexpr int32_t kRightDropX = 190;
    static constexpr int32_t kDropY = 135;
    static constexpr uint32_t kFlashStep = 260;

    void SetUp() override { hp = std::make_unique<HeadlessPlatform>(config.path); }

    void TearDown() override {
        screen.reset();
        context.reset();
        hp.reset();
    }

    // Builds the screen with the given seed, then switches to the level
    // (automatic levelling off unless asked) and builds a fresh puzzle.
    GameScreen& Start(int32_t level, unsigned seed = 1, bool autoLevel = false) {
        screen.reset();  // before the context it holds its store from
        context = std::make_unique<GameContext>(hp->registry, seed);
        screen = std::make_unique<GameScreen>(hp->Get(), nullptr, *context);
        screen->settings.SetAutoAdjust(autoLevel);
        screen->settings.SetLevel(level);
        screen->settings.levelChanged = 0;
        screen->SetupLevel();
        return *screen;
    }

    // Presses the weight at its centre, drags it and releases it at (x, y).
    void Drag(Weight* weight, int32_t x, int32_t y) {
        screen->OnPenDown(weight->GetX() + 10, weight->GetY() + 15);
        screen->OnPenMove((weight->GetX() + 10 + x) / 2, (weight->GetY() + 15 + y) / 2);
        screen->OnPenMove(x, y);
        screen->OnPenUp(x, y);
    }
    void DropOnLeft(Weight* weight) { Drag(weight, kLeftDropX, kDropY); }
    void DropOnRight(Weight* weight) { Drag(weight, kRightDropX, kDropY); }
    void DropOn(bool left, Weight* weight) { left ? DropOnLeft(weight) : DropOnRight(weight); }
    void DropInTray(Weight* weight) { Drag(weight, 120, 230); }

    void Tap(const Figure* element) {
        const int32_t x = element->GetX() + element->GetWidth() / 2;
        const int32_t y = element->GetY() + element->GetHeight() / 2;
        screen->OnPenDown(x, y);
        screen->OnPenUp(x, y);
    }

    void TickTo(uint32_t t) {
        hp->clock.now = t;
        screen->Tick(t);
    }

    // Lets the pan flash (five frames at four a second) play to its end.
    void FinishFlash() {
        for (int i = 0; i < 6; ++i) TickTo(hp->clock.now + kFlashStep);
    }

    // The fewest-move solution of the puzzle on the board.
    PuzzleSolution Solution() const {
        return PuzzleSolver::Solve(GreyMassesOn(screen->leftPan), GreyMassesOn(screen->rightPan),
                                   TrayMasses(*screen));
    }

    // Balances the scale with the fewest drops, as the player would.
    void SolveByDrags() {
        const PuzzleSolution solution = Solution();
        ASSERT_TRUE(solution.found);
        const std::vector<Weight*> tray = TrayWeights(*screen);
        for (const TrayPlacement& p : solution.placements)
            DropOn(p.pan == PanSide::Left, tray[static_cast<size_t>(p.trayIndex)]);
    }

    // Types the hidden number digit by digit on the keypad.
    void TypeNumber(int32_t number) {
        if (number >= 10) Tap(screen->digitButtons[static_cast<size_t>(number / 10)]);
        Tap(screen->digitButtons[static_cast<size_t>(number % 10)]);
    }

    std::optional<std::string> StoredValue(const std::string& name) {
        auto key = hp->registry.CreateKey(SettingsStore::kKeyPath);
        std::string text;
        if (!key || !key->ReadValue(name, text, SettingsStore::kTextBufferChars)) return std::nullopt;
        return text;
    }

    int CountPlayed(int soundId) const {
        return static_cast<int>(std::count(hp->sound.played.begin(), hp->sound.played.end(), soundId));
    }

    TempConfig config;
    std::unique_ptr<HeadlessPlatform> hp;
    std::unique_ptr<GameContext> context;
    std::unique_ptr<GameScreen> screen;
};

}  // namespace pw::gametest
