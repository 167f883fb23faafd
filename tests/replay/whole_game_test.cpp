// A whole game played by stylus: the autoplayer solves puzzles from level 1
// up through level 10 with real drags and keypad presses, the replay it
// writes is played back by the main loop on fresh settings, and the settings
// file ends with the score and level the player earned.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/MainLoop.h"
#include "replay/Replay.h"
#include "replay/ReplaySettings.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

int StoredValue(const std::string& settingsText, const std::string& name) {
    const std::string prefix = "\"" + name + "\"=\"";
    const size_t at = settingsText.find(prefix);
    if (at == std::string::npos) return -1;
    return std::atoi(settingsText.c_str() + at + prefix.size());
}

TEST(WholeGameReplayTest, LevelsOneToTenByStylusEndWithTheEarnedScoreAndLevelStored) {
    constexpr uint32_t kSeed = 2026;
    constexpr int32_t kPuzzles = 55;
    std::string replayText;
    int32_t expectedScore = 0, expectedLevel = 0, highestLevel = 0;
    {
        TempFolder config;
        ReplayPassRunner runner(config.path, kSeed);
        AutoPlayer player(kPuzzles);
        std::string error;
        ASSERT_TRUE(runner.Run(
            [&](ReplayPassRunner& r) {
                if (r.Game() != nullptr) highestLevel = std::max(highestLevel, r.Game()->settings.level);
                player.Plan(r);
            },
            error))
            << error;
        ASSERT_TRUE(player.Error().empty()) << player.Error();
        ASSERT_EQ(player.PuzzlesSolved(), kPuzzles);
        replayText = runner.ReplayText();
        expectedScore = runner.Game()->settings.score;
        expectedLevel = runner.Game()->settings.level;
        highestLevel = std::max(highestLevel, expectedLevel);
    }
    EXPECT_GE(highestLevel, 10) << "automatic levelling should carry a flawless player to level 10";
    EXPECT_NE(replayText.find(" move "), std::string::npos);

    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(replayText, replay, error)) << error;
    ASSERT_EQ(replay.seed, kSeed);

    TempFolder config;
    {
        HeadlessPlatform platform(config.path);
        MainLoop loop(platform.Get());
        loop.Start(replay.seed);
        EXPECT_EQ(loop.RunReplay(replay, platform.clock), 0);
        ASSERT_NE(loop.App(), nullptr);
        EXPECT_EQ(loop.App()->current, loop.App()->gameScreen.get());
    }
    std::ifstream file(config.path + "/Marblequill/Pivotwarden/settings.reg");
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(StoredValue(text.str(), "score"), expectedScore);
    EXPECT_EQ(StoredValue(text.str(), "level"), expectedLevel);
    EXPECT_GT(expectedScore, kPuzzles * 24);
}

// A run started at a chosen level (as "How to play"'s hidden-number part is
// made) says so in its replay: played back from its own header on fresh
// settings, it is the same hidden puzzle, balanced and typed on the keypad.
TEST(WholeGameReplayTest, ARunFromAChosenLevelReplaysFromItsHeader) {
    std::string replayText;
    int32_t expectedScore = 0;
    {
        TempFolder config;
        ReplayPassRunner runner(config.path, 1, true, 10);
        AutoPlayer player(1);
        std::string error;
        ASSERT_TRUE(runner.Run([&](ReplayPassRunner& r) { player.Plan(r); }, error)) << error;
        ASSERT_TRUE(player.Error().empty()) << player.Error();
        ASSERT_NE(runner.Game()->pendingWeight, nullptr) << "level 10 hides its number";
        replayText = runner.ReplayText();
        expectedScore = runner.Game()->settings.score;
    }
    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(replayText, replay, error)) << error;
    EXPECT_EQ(replay.level, 10);
    EXPECT_EQ(replay.autoOff, 1);

    TempFolder config;
    HeadlessPlatform platform(config.path);
    ASSERT_TRUE(StoreReplayStart(platform.registry, replay));
    MainLoop loop(platform.Get());
    loop.Start(replay.SeedOrDefault());
    EXPECT_EQ(loop.RunReplay(replay, platform.clock), 0);
    ASSERT_NE(loop.App(), nullptr);
    EXPECT_EQ(loop.App()->Game().settings.level, 10);
    EXPECT_EQ(loop.App()->Game().settings.score, expectedScore);
    EXPECT_GT(expectedScore, 0);
}

}  // namespace
}  // namespace pw
