#pragma once
// A game running headless for the benchmarks: the application on the headless
// backend with settings in a throw-away folder, already switched from the
// title to the game screen, with its messages handled as the main loop would.
#include <cstdint>
#include <memory>

#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tools/autoplay/TempFolder.h"

namespace pw::bench {

class BenchGame {
public:
    explicit BenchGame(uint32_t seed = 1);
    ~BenchGame();

    GameScreen& Game() { return loop_.App()->Game(); }
    HeadlessPlatform& Platform() { return *platform_; }
    // Handles every waiting message (paints, a destroy from the close icon is
    // dropped so that the game keeps running).
    void DrainMessages();
    // Pixels that one composition copies: every visible element with a
    // picture, clipped to the screen.
    int64_t ComposedPixels();

private:
    TempFolder config_;
    std::unique_ptr<HeadlessPlatform> platform_;
    MainLoop loop_;
};

}  // namespace pw::bench
