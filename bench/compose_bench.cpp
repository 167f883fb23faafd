// Composition and repaint of the game screen, each beside its floor: a plain
// memcpy of as many pixels, timed in the same run. The summary printed after
// the run (bench_main.cpp) divides one by the other.
#include <benchmark/benchmark.h>

#include <cstring>
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

// Screen::Paint with the full copy, as the window's paint message does.
void PaintFull(benchmark::State& state) {
    BenchGame game;
    for (auto _ : state) {
        game.Game().Paint(game.Platform().window, true);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] =
        static_cast<double>(game.ComposedPixels() + game.Game().width * game.Game().height);
}

// Screen::Paint as the throttled repaint runs it during play: every element
// recomposed, then only a 40 x 40 dirty rectangle copied to the window.
void PaintDirtyRect(benchmark::State& state) {
    BenchGame game;
    const Rect dirty{100, 100, 100 + kDirtySide, 100 + kDirtySide};
    for (auto _ : state) {
        game.Game().AddDirtyRect(dirty);
        game.Game().Paint(game.Platform().window, false);
        benchmark::ClobberMemory();
    }
    // The right and bottom edges count as inside: one more row and column.
    state.counters["pixels"] =
        static_cast<double>(game.ComposedPixels() + (kDirtySide + 1) * (kDirtySide + 1));
}

// Only the copy of a 40 x 40 rectangle from the back buffer to the window.
void PresentDirtyRect(benchmark::State& state) {
    BenchGame game;
    const Rect area{100, 100, 100 + kDirtySide, 100 + kDirtySide};
    for (auto _ : state) {
        game.Platform().window.Present(*game.Game().backBuffer, area);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = kDirtySide * kDirtySide;
}

}  // namespace

void RegisterComposeBenchmarks(Summary& summary) {
    BenchGame probe;
    const int64_t composed = probe.ComposedPixels();
    const int64_t screen = int64_t{probe.Game().width} * probe.Game().height;
    struct Pair {
        const char* name;
        void (*work)(benchmark::State&);
        int64_t pixels;
        double goal;
    };
    const Pair pairs[] = {
        {"PaintFull", PaintFull, composed + screen, 4.0},
        {"PaintDirtyRect40", PaintDirtyRect, composed + (kDirtySide + 1) * (kDirtySide + 1), 2.0},
        {"PresentDirtyRect40", PresentDirtyRect, kDirtySide * kDirtySide, 2.0},
    };
    for (const Pair& pair : pairs) {
        const std::string floorName = std::string(pair.name) + "_memcpyFloor";
        benchmark::RegisterBenchmark(pair.name, pair.work)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(floorName.c_str(), MemcpyFloor)
            ->Arg(pair.pixels)
            ->Unit(benchmark::kMicrosecond);
        summary.AddPair(pair.name, floorName + "/" + std::to_string(pair.pixels), pair.goal);
    }
}

}  // namespace pw::bench
