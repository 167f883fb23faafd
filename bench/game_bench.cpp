// The game's own work: building each level's puzzle, one stylus drag of a
// tray weight, and a storm of random pen events with ticks.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/BenchGame.h"
#include "game/GameScreen.h"
#include "resources/ResourceIds.h"

namespace pw::bench {

namespace {

void SetupLevel(benchmark::State& state) {
    BenchGame game;
    // Set directly: SetLevel would write the settings file on every change.
    game.Game().settings.level = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        game.Game().SetupLevel();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(SetupLevel)->DenseRange(1, GameScreen::kLevelCount)->Unit(benchmark::kMicrosecond);

// Down on the first tray weight, 20 moves towards the pans, up back over the
// tray so that the weight goes home and every drag starts from the same board.
// Each event is followed by a tick 16 ms later, so the throttled repaints run
// as they would in play.
void DragOneWeight(benchmark::State& state) {
    BenchGame game;
    GameScreen& screen = game.Game();
    VirtualClock& clock = game.Platform().clock;
    const Weight* first = nullptr;
    int weights = 0;
    for (auto* node = screen.levelWeights.head; node != nullptr; node = node->next)
        if (node->item->bitmapId != res::kGreyWeight) {
            ++weights;
            if (first == nullptr || node->item->homeX < first->homeX) first = node->item;
        }
    if (weights != GameScreen::kTraySize || first == nullptr) {
        state.SkipWithError("the board does not hold seven tray weights");
        return;
    }
    const int32_t fromX = first->homeX + 10, fromY = first->homeY + 15;
    auto event = [&](int type, int32_t x, int32_t y) {
        if (type == 0) screen.OnPenDown(x, y);
        if (type == 1) screen.OnPenMove(x, y);
        if (type == 2) screen.OnPenUp(x, y);
        clock.now += 16;
        screen.Tick(clock.now);
    };
    for (auto _ : state) {
        event(0, fromX, fromY);
        for (int i = 1; i <= 20; ++i) event(1, fromX + 3 * i, fromY - 3 * i);
        event(2, fromX, fromY);
    }
    game.DrainMessages();
}
BENCHMARK(DragOneWeight)->Unit(benchmark::kMicrosecond);

// 10,000 pen events at random places and times: presses, drags and releases
// anywhere, including the options panel, the keypad and the close icon.
void RandomPenEvents(benchmark::State& state) {
    BenchGame game;
    GameScreen& screen = game.Game();
    VirtualClock& clock = game.Platform().clock;
    std::mt19937 random(12345);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            const uint32_t r = random();
            const int32_t x = static_cast<int32_t>(r % 240), y = static_cast<int32_t>((r >> 8) % 320);
            switch ((r >> 20) % 3) {
                case 0:
                    screen.OnPenDown(x, y);
                    break;
                case 1:
                    screen.OnPenMove(x, y);
                    break;
                default:
                    screen.OnPenUp(x, y);
                    break;
            }
            clock.now += (r >> 24) % 64;
            screen.Tick(clock.now);
            if (i % 64 == 0) game.DrainMessages();
        }
    }
    state.counters["events/s"] =
        benchmark::Counter(10000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RandomPenEvents)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace pw::bench
