// The spoken descriptions never give a hidden number away: autoplayed games
// of every level are replayed with two describers side by side, one shown
// the scene as the dump reports it and one shown the same scene with every
// hidden number changed beyond any the game deals. Whatever one says that
// the other does not came from a hidden number. The scale still tips as the
// true numbers make it, as a player sees it tip.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "narration/BoardReading.h"
#include "narration/Describer.h"
#include "app/MainLoop.h"
#include "replay/Replay.h"
#include "dump/SceneWatcher.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

constexpr int32_t kMask = 700000;

class HiddenNumberCheck : public SceneWatcher {
public:
    void Look(const GameView& scene, const Rect& ring) override {
        GameView masked = scene;
        std::vector<std::string> hidden;
        for (ViewElement& e : masked.elements) {
            if (!e.isWeight || !e.grey) continue;
            // A grey weight's first number is never shown as such: what it
            // shows is its value, and only while its number shows.
            e.initialValue += kMask;
            if (e.showNumber) continue;
            e.value += kMask;
            hidden.push_back(std::to_string(e.value));
            ++hiddenLooks;
        }
        const Board board = ReadBoard(scene, ring);
        Board maskedBoard = ReadBoard(masked, ring);
        maskedBoard.tip = board.tip;
        const std::string said = told_.Changes(board);
        const std::string maskedSaid = masked_.Changes(maskedBoard);
        if (said != maskedSaid && ++mismatches <= 5)
            ADD_FAILURE() << "told from a hidden number:\n  " << said << "\n  masked: " << maskedSaid;
        for (const std::string& number : hidden)
            if (maskedSaid.find(number) != std::string::npos && ++mismatches <= 5)
                ADD_FAILURE() << "a hidden number said: " << maskedSaid;
        if (said.find("grey, number hidden") != std::string::npos) ++hiddenTold;
        if (said.find("Grey weight shows") != std::string::npos) ++typedTold;
        WholeAsked();
    }
    void WholeAsked() override {
        if (told_.Whole() != masked_.Whole() && ++mismatches <= 5)
            ADD_FAILURE() << "the whole board told from a hidden number:\n  " << told_.Whole();
    }

    int64_t hiddenLooks = 0;
    int hiddenTold = 0;
    int typedTold = 0;
    int mismatches = 0;

private:
    Describer told_;
    Describer masked_;
};

void StoreLevel(const std::string& configRoot, int32_t level) {
    const std::filesystem::path folder = std::filesystem::path(configRoot) / "Marblequill/Pivotwarden";
    std::filesystem::create_directories(folder);
    // Automatic levelling off ("auto" 1): the level stays where it is put.
    std::ofstream(folder / "settings.reg") << "Windows Registry Editor Version 5.00\n\n"
                                              "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n"
                                              "\"level\"=\""
                                           << level << "\"\n\"auto\"=\"1\"\n";
}

TEST(DescribedReplayTest, AThousandPuzzlesOfEveryLevelNeverTellAHiddenNumber) {
    constexpr int32_t kPuzzlesPerLevel = 67;  // 1,005 in all
    HiddenNumberCheck check;
    int32_t solved = 0;
    for (int32_t level = 1; level <= 15; ++level) {
        std::string text;
        {
            TempFolder config;
            StoreLevel(config.path, level);
            ReplayPassRunner runner(config.path, static_cast<uint32_t>(1000 + level));
            AutoPlayer player(kPuzzlesPerLevel);
            std::string error;
            ASSERT_TRUE(runner.Run([&](ReplayPassRunner& r) { player.Plan(r); }, error)) << error;
            ASSERT_TRUE(player.Error().empty()) << player.Error();
            solved += player.PuzzlesSolved();
            text = runner.ReplayText();
        }
        Replay replay;
        std::string error;
        ASSERT_TRUE(ParseReplay(text, replay, error)) << error;
        TempFolder config;
        StoreLevel(config.path, level);
        HeadlessPlatform platform(config.path);
        MainLoop loop(platform.Get());
        loop.Watch(&check);
        loop.Start(replay.seed);
        EXPECT_EQ(loop.RunReplay(replay, platform.clock), 0);
        loop.Watch(nullptr);
    }
    EXPECT_EQ(solved, 15 * kPuzzlesPerLevel);
    EXPECT_EQ(check.mismatches, 0);
    // Levels 10 to 15 hide their number: each such puzzle is told with it
    // hidden, and then told as it is typed.
    EXPECT_GE(check.hiddenTold, 6 * kPuzzlesPerLevel);
    EXPECT_GE(check.typedTold, 6 * kPuzzlesPerLevel);
    EXPECT_GT(check.hiddenLooks, 0);
}

}  // namespace
}  // namespace pw
