// Repaints compose only where the scene changed; the window must still show
// exactly what composing the whole scene from scratch gives. Whole games, one
// played by the autoplayer and one by random stylus input, are checked step
// by step.
#include <gtest/gtest.h>

#include <random>

#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "scene/Figure.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

// Every visible element, bottom to top, over a blank picture.
Surface ComposedFromScratch(Screen& screen) {
    Surface out(screen.width, screen.height);
    for (auto* node = screen.elements.head; node != nullptr; node = node->next) {
        Figure* e = node->item;
        const Surface* picture = e->visible ? e->GetSurface() : nullptr;
        if (picture == nullptr) continue;
        const Rect box = e->PictureBox();
        const int x = e->GetX() + box.left, y = e->GetY() + box.top, w = box.right - box.left,
                  h = box.bottom - box.top, sx = box.left + e->SurfaceLeft(), sy = box.top + e->SurfaceTop();
        if (e == screen.background)
            CopyOpaque(out, x, y, w, h, *picture, sx, sy);
        else
            CopyKeyed(out, x, y, w, h, *picture, sx, sy);
    }
    return out;
}

// Paints the whole window as its paint message does; the pixels that differ
// from the scene composed from scratch.
int WrongPixels(Screen& screen) {
    screen.Paint(screen.platform.window, true);
    const Surface want = ComposedFromScratch(screen);
    const Surface& shown = screen.platform.window.Shown();
    int wrong = 0;
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) wrong += shown.At(x, y) != want.At(x, y);
    return wrong;
}

TEST(PartialPaintTest, AutoplayedGameAlwaysShowsTheWholeScene) {
    TempFolder config;
    ReplayPassRunner runner(config.path, 99, false);
    AutoPlayer player(12);
    int checks = 0, wrongChecks = 0;
    std::string error;
    ASSERT_TRUE(runner.Run(
        [&](ReplayPassRunner& r) {
            ++checks;
            if (WrongPixels(*r.App()->current) != 0 && ++wrongChecks <= 3)
                ADD_FAILURE() << "stale pixels at " << r.Now() << " ms";
            player.Plan(r);
        },
        error))
        << error;
    EXPECT_EQ(player.PuzzlesSolved(), 12);
    EXPECT_GE(checks, 12);
}

TEST(PartialPaintTest, RandomStylusInputAlwaysShowsTheWholeScene) {
    TempFolder config;
    HeadlessPlatform platform(config.path);
    MainLoop loop(platform.Get());
    loop.Start(5);
    std::mt19937 random(5);
    auto drain = [&] {
        WindowEvent message;
        while (platform.window.PollEvent(message)) loop.HandleMessage(message);
    };
    using Type = WindowEvent::Type;
    int wrongSteps = 0;
    for (int step = 0; step < 600 && !loop.QuitPosted(); ++step) {
        const Type type = step % 7 == 0 ? Type::PenDown : (step % 7 == 6 ? Type::PenUp : Type::PenMove);
        const int x = static_cast<int>(random() % 240), y = static_cast<int>(random() % 320);
        if (x > 200 && y < 40) continue;  // the close icon would end the game
        loop.HandleMessage(WindowEvent{type, x, y, type != Type::PenUp});
        drain();
        for (int tick = 0; tick < 4; ++tick) {
            platform.clock.now += 1 + random() % 300;
            loop.App()->current->Tick(platform.clock.now);
        }
        drain();
        if (WrongPixels(*loop.App()->current) != 0 && ++wrongSteps <= 3)
            ADD_FAILURE() << "stale pixels after step " << step;
    }
    EXPECT_EQ(loop.App()->current, loop.App()->gameScreen.get());
}

}  // namespace
}  // namespace pw
