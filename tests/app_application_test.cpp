// The application and the main loop on the headless backend: start-up order,
// the one-way switch to the game, the destroy message, and the replay clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/Application.h"
#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ResourceIds.h"
#include "title/TitleScreen.h"

namespace pw {
namespace {

class AppTest : public ::testing::Test {
protected:
    AppTest() : folder_(MakeFolder()), hp_(folder_) {}
    ~AppTest() override { std::filesystem::remove_all(folder_); }

    static std::string MakeFolder() {
        char pattern[] = "/tmp/pw-app-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        return pattern;
    }

    std::string folder_;
    HeadlessPlatform hp_;
};

TEST_F(AppTest, StartsOnTheTitleWithTheStartSoundAndSwitchesForGood) {
    Application app(hp_.Get(), 1234u);
    EXPECT_EQ(app.seed, 1234u);
    ASSERT_EQ(hp_.sound.played, std::vector<int>{res::kStartSound});
    EXPECT_EQ(app.current, app.titleScreen.get());
    EXPECT_TRUE(app.titleScreen->active);
    EXPECT_FALSE(app.gameScreen->active);
    // The first level is already on the board behind the title.
    EXPECT_GT(app.gameScreen->levelWeights.count, 0);

    // A report from the game screen changes nothing and plays nothing.
    app.OnScreenEvent(app.gameScreen.get(), nullptr, 0, 0);
    EXPECT_EQ(app.current, app.titleScreen.get());
    EXPECT_EQ(hp_.sound.played.size(), 1u);

    app.current->OnPenDown(120, 160);
    EXPECT_EQ(app.current, app.gameScreen.get());
    EXPECT_TRUE(app.gameScreen->active);
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
        std::vector<int> values;
        for (auto* n = app.gameScreen->levelWeights.head; n != nullptr; n = n->next) values.push_back(n->item->value);
        return values;
    };
    EXPECT_EQ(masses(77), masses(77));
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
    ASSERT_TRUE(ParseReplay("pivotwarden-replay 1\nat 500 down 120 160\nat 500 up 120 160\nat 900 end\n", replay, error));
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
    GameScreen& game = *app->gameScreen;
    Weight* tray = nullptr;
    for (auto* n = game.levelWeights.head; n != nullptr; n = n->next)
        if (n->item->draggable) tray = n->item;
    ASSERT_NE(tray, nullptr);
    const int hx = tray->homeX + 10, hy = tray->homeY + 15;
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, hx, hy, true});
    const int x0 = tray->GetX();
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenMove, 120, 100, false});
    EXPECT_EQ(tray->GetX(), x0);
    loop.HandleMessage(WindowEvent{WindowEvent::Type::PenMove, 120, 100, true});
    EXPECT_EQ(tray->GetX(), 110);
}

}  // namespace
}  // namespace pw
