// Painting the game screen, each beside its floor timed in the same run: a
// plain memcpy of one whole screen for the full paint, of the rectangle's
// pixels for a repaint. The summary printed after the run (bench_main.cpp)
// divides one by the other.
#include <benchmark/benchmark.h>

#include <cstring>
#include <set>
#include <vector>

#include "bench/BenchGame.h"
#include "bench/Summary.h"

namespace pw::bench {

namespace {

constexpr int kDirtySide = 40;

void MemcpyFloor(benchmark::State& state) {
    const size_t pixels = static_cast<size_t>(state.range(0));
    std::vector<Pixel> from(pixels, 0x123456), to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(Pixel));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}

// Screen::Paint with the full copy, as the window's paint message does when
// nothing in the scene has changed since the last paint.
void PaintFull(benchmark::State& state) {
    BenchGame game;
    for (auto _ : state) {
        game.Game().Paint(game.Platform().window, true);
        benchmark::ClobberMemory();
    }
}

// A full paint after a change that covers the whole screen (the scale tilts):
// every visible element composed, then the whole buffer copied.
void PaintFullRecomposed(benchmark::State& state) {
    BenchGame game;
    const Rect everything{0, 0, game.Game().width, game.Game().height};
    for (auto _ : state) {
        game.Game().AddDirtyRect(everything);
        game.Game().Paint(game.Platform().window, true);
        benchmark::ClobberMemory();
    }
    state.counters["composed"] = static_cast<double>(game.ComposedPixels());
}

// Screen::Paint as the throttled repaint runs it during play: a 40 x 40
// dirty rectangle over the scale and the background, composed and copied.
void PaintDirtyRect(benchmark::State& state) {
    BenchGame game;
    const Rect dirty{100, 100, 100 + kDirtySide, 100 + kDirtySide};
    for (auto _ : state) {
        game.Game().AddDirtyRect(dirty);
        game.Game().Paint(game.Platform().window, false);
        benchmark::ClobberMemory();
    }
}

// Only the copy of a 40 x 40 rectangle from the back buffer to the window.
void PresentDirtyRect(benchmark::State& state) {
    BenchGame game;
    const Rect area{100, 100, 100 + kDirtySide, 100 + kDirtySide};
    for (auto _ : state) {
        game.Platform().window.Present(game.Game().backBuffer->picture, area);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = kDirtySide * kDirtySide;
}

}  // namespace

void RegisterComposeBenchmarks(Summary& summary) {
    BenchGame probe;
    const int64_t screen = int64_t{probe.Game().width} * probe.Game().height;
    const int64_t rectangle = kDirtySide * kDirtySide;
    struct Pair {
        const char* name;
        void (*work)(benchmark::State&);
        int64_t pixels;
        double goal;  // 0: shown for comparison, no goal
    };
    const Pair pairs[] = {
        {"PaintFull", PaintFull, screen, 2.0},
        {"PaintFullRecomposed", PaintFullRecomposed, screen, 0.0},
        {"PaintDirtyRect40", PaintDirtyRect, rectangle, 20.0},
        {"PresentDirtyRect40", PresentDirtyRect, rectangle, 2.0},
    };
    std::set<int64_t> floors;
    for (const Pair& pair : pairs) {
        benchmark::RegisterBenchmark(pair.name, pair.work)->Unit(benchmark::kMicrosecond);
        // One floor per size, timed right after the first work that needs it.
        if (floors.insert(pair.pixels).second)
            benchmark::RegisterBenchmark("memcpyFloor", MemcpyFloor)
                ->Arg(pair.pixels)
                ->Unit(benchmark::kMicrosecond);
        summary.AddPair(pair.name, "memcpyFloor/" + std::to_string(pair.pixels), pair.goal);
    }
}

}  // namespace pw::bench
