// The application and the main loop on the headless backend: start-up order,
// the one-way switch to the game, the destroy message, and the replay clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Application.h"
#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/sdl/PointerInput.h"
#include "resources/ResourceIds.h"
#include "title/TitleScreen.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

class AppTest : public ::testing::Test {
protected:
    AppTest() : hp_(folder_.path) {}

    TempFolder folder_;
    HeadlessPlatform hp_;
};

TEST_F(AppTest, StartsOnTheTitleWithTheStartSoundAndSwitchesForGood) {
    Application app(hp_.Get(), 1234u);
    EXPECT_EQ(app.seed, 1234u);
    ASSERT_EQ(hp_.sound.played, std::vector<int>{res::kStartSound});
    EXPECT_EQ(app.current, app.titleScreen.get());
    EXPECT_TRUE(app.titleScreen->active);
    // The title comes first; the game screen is built when first asked for.
    EXPECT_EQ(app.gameScreen, nullptr);
    EXPECT_FALSE(app.Game().active);
    // The first level is already on the board behind the title.
    EXPECT_GT(app.Game().levelWeights.count, 0);

    // A report from the game screen changes nothing and plays nothing.
    app.OnScreenEvent(&app.Game(), nullptr, 0, 0);
    EXPECT_EQ(app.current, app.titleScreen.get());
    EXPECT_EQ(hp_.sound.played.size(), 1u);

    app.current->OnPenDown(120, 160);
    EXPECT_EQ(app.current, &app.Game());
    EXPECT_TRUE(app.Game().active);
    EXPECT_FALSE(app.titleScreen->active);
    EXPECT_EQ(hp_.sound.played.back(), res::kSwitchSound);
    WindowEvent paint;
    ASSERT_TRUE(hp_.window.PollEvent(paint));
    EXPECT_EQ(paint.type, WindowEvent::Type::Paint);

    // A repaint pending on the title never reaches the window any more.
    app.titleScreen->AddDirtyRect(Rect{0, 0, 10, 10});
    const int presents = hp_.window.presentCount;
    app.titleScreen->Refresh(false);
    EXPECT_EQ(hp_.window.presentCount, presents);
}

TEST_F(AppTest, SeedComesFromTheDateAndTimeUnlessGiven) {
    hp_.time.time = DateTime{2026, 12, 7, 20, 15, 30};
    Application app(hp_.Get());
    EXPECT_EQ(app.seed, 7u * 86400 + 20 * 3600 + 15 * 60 + 30);
}

TEST_F(AppTest, SameSeedBuildsTheSamePuzzle) {
    auto masses = [this](uint32_t seed) {
        Application app(hp_.Get(), seed);
        // However late the game screen is built, its puzzle comes from the seed.
        app.titleScreen->Paint(hp_.window, true);
        app.titleScreen->Tick(hp_.clock.now += 500);
        std::vector<int> values;
        for (auto* n = app.Game().levelWeights.head; n != nullptr; n = n->next)
            values.push_back(n->item->value);
        return values;
    };
    EXPECT_EQ(masses(77), masses(77));
    EXPECT_NE(masses(77), masses(78));
}

TEST_F(AppTest, DestroyEndsTheLoopAndLaterStylusMessagesAreIgnored) {
    MainLoop loop(hp_.Get());
    loop.Start(5u);
    ASSERT_NE(loop.App(), nullptr);
    EXPECT_GT(hp_.window.presentCount, 0) << "the first paint shows the title";
    loop.HandleMessage(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false});
    EXPECT_TRUE(loop.QuitPosted());
    EXPECT_EQ(loop.App(), nullptr);
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, 10, 10, true});
    loop.HandleMessage(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
    EXPECT_EQ(loop.RunLive(nullptr), 0);
}

TEST_F(AppTest, ReplayClockDeliversEachEventWhenItsTimeIsReached) {
    MainLoop loop(hp_.Get());
    loop.Start(5u);
    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay("pivotwarden-replay 1\nat 500 down 120 160\nat 500 up 120 160\nat 900 end\n",
                            replay, error));
    EXPECT_EQ(loop.RunReplay(replay, hp_.clock), 0);
    EXPECT_EQ(hp_.clock.now, 900u) << "the run ends on the pass that reaches the end";
    ASSERT_NE(loop.App(), nullptr);
    EXPECT_EQ(loop.App()->current, loop.App()->gameScreen.get());
}

TEST_F(AppTest, MoveWithoutExactlyThePrimaryButtonIsDropped) {
    MainLoop loop(hp_.Get());
    loop.Start(5u);
    Application* app = loop.App();
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, 120, 160, true});
    ASSERT_EQ(app->current, app->gameScreen.get());
    GameScreen& game = app->Game();
    Weight* tray = nullptr;
    for (auto* n = game.levelWeights.head; n != nullptr; n = n->next)
        if (n->item->draggable) tray = n->item;
    ASSERT_NE(tray, nullptr);
    const int hx = tray->homeX + 10, hy = tray->homeY + 15;
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, hx, hy, true});
    const int x0 = tray->GetX();
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenMove, 120, 100, false});
    EXPECT_EQ(tray->GetX(), x0);
    // The desktop's mouse with Shift or Ctrl held, in a 480 x 640 window.
    const WindowLayout layout = WindowLayout::Fit(480, 640);
    PointerInput mouse;
    WindowEvent shifted;
    ASSERT_TRUE(mouse.Move(layout, 240, 200, true, true, shifted));
    loop.HandleMessage(shifted);
    EXPECT_EQ(tray->GetX(), x0);
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenMove, 120, 100, true});
    EXPECT_EQ(tray->GetX(), 110);
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

// Drags the tray weight of the given mass onto the pan without grey weights.
void SolveMatchLevel(GameScreen& game, HeadlessPlatform& hp) {
    Weight* grey = nullptr;
    for (auto* n = game.levelWeights.head; n != nullptr; n = n->next)
        if (!n->item->draggable) grey = n->item;
    ASSERT_NE(grey, nullptr);
    const bool greyLeft = game.leftPan.Contains(grey);
    for (auto* n = game.levelWeights.head; n != nullptr; n = n->next) {
        Weight* w = n->item;
        if (!w->draggable || w->value != grey->value) continue;
        game.OnPenDown(w->homeX + 10, w->homeY + 15);
        game.OnPenMove(greyLeft ? 190 : 50, 130);
        game.OnPenUp(greyLeft ? 190 : 50, 130);
        break;
    }
    ASSERT_TRUE(game.solved);
    for (int i = 0; i < 8; ++i) {
        hp.clock.now += 300;
        game.Tick(hp.clock.now);
    }
}

TEST(AppSettingsTest, UnwritableSettingsFolderLeavesPlayGoingAndWritableAgainRepairs) {
    TempFolder folder;
    const std::string& root = folder.path;
    // A plain file where the settings folder should go: no one, not even the
    // superuser, can make the folder.
    const std::string blocker = root + "/Marblequill";
    std::ofstream(blocker) << "not a folder";
    {
        HeadlessPlatform hp(root);
        Application app(hp.Get(), 11u);
        app.current->OnPenDown(120, 160);
        GameScreen& game = app.Game();
        EXPECT_EQ(game.settings.score, 0);
        SolveMatchLevel(game, hp);
        EXPECT_EQ(game.settings.score, 48) << "play goes on with the values in memory";
    }
    EXPECT_FALSE(std::filesystem::is_directory(blocker));
    std::filesystem::remove(blocker);
    {
        HeadlessPlatform hp(root);
        Application app(hp.Get(), 11u);
        EXPECT_EQ(app.Game().settings.score, 0);
        app.current->OnPenDown(120, 160);
        SolveMatchLevel(app.Game(), hp);
    }
    std::ifstream file(root + "/Marblequill/Pivotwarden/settings.reg");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("\"score\"=\"48\""), std::string::npos) << text.str();
}

TEST(AppSettingsTest, CorruptSettingsFileStartsFromDefaultsAndIsRepairedByPlay) {
    TempFolder folder;
    const std::string& root = folder.path;
    std::filesystem::create_directories(root + "/Marblequill/Pivotwarden");
    const std::string path = root + "/Marblequill/Pivotwarden/settings.reg";
    std::ofstream(path, std::ios::binary)
        << std::string("\x00\xff\"score\"=\"9\x00", 13) << "\n\"level\"=\"xx\"\n";
    {
        HeadlessPlatform hp(root);
        Application app(hp.Get(), 11u);
        EXPECT_EQ(app.Game().settings.level, 1);
        app.current->OnPenDown(120, 160);
        SolveMatchLevel(app.Game(), hp);
    }
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str().rfind("Windows Registry Editor Version 5.00", 0), 0u) << text.str();
    EXPECT_NE(text.str().find("\"score\"=\"48\""), std::string::npos) << text.str();
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

// The live loop sleeps without a time limit when nothing animates and nothing
// waits to be repainted, and in short waits while something does.
TEST_F(AppTest, IdleLoopWaitsForTheNextMessageWithoutATimeLimit) {
    MainLoop loop(hp_.Get());
    loop.Start(5u);
    ASSERT_EQ(loop.App()->current->tickers.count, 0) << "the title stands still";
    loop.App()->current->AddDirtyRect(Rect{0, 0, 10, 10});
    std::vector<uint32_t> waits;
    hp_.window.onWait = [&](uint32_t timeout) {
        waits.push_back(timeout);
        hp_.clock.now += 50;  // the repaint falls due
        if (timeout == Window::kNoTimeout || waits.size() > 3) hp_.window.PostDestroy();
    };
    EXPECT_EQ(loop.RunLive(nullptr), 0);
    ASSERT_FALSE(waits.empty());
    EXPECT_EQ(waits.front(), MainLoop::kBusyWaitMs);
    EXPECT_EQ(waits.back(), Window::kNoTimeout);
}

}  // namespace
}  // namespace pw
