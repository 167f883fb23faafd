// The results history and the costs that grow with play:
// - one row appended to the file (the goal: a median of at most 1 ms over
//   1,000 appends, reported as median_us);
// - a full history of 50,000 rows read and drawn as the progress page (the
//   goal: at most 100 ms);
// - the first row of a session on a 50,000-row history, which opens it,
//   beside the floor of reading its bytes once (the goal: within 3x; counting
//   its lines costs about what reading them does, while reading every row
//   as a row costs fifty times as much);
// - the append that drops the oldest rows, beside the same floor (shown);
// - an autoplayed game of 50,000 puzzles beside one of 1,000, per puzzle (the
//   goal: within 1.1x: a puzzle late in a long game costs what an early one
//   does).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/Summary.h"
#include "platform/posix/FileHistoryStorage.h"
#include "results/ProgressPage.h"
#include "results/ResultsHistory.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw::bench {

namespace {

constexpr const char* kFile = "results.csv";

ResultRow SampleRow(int i) {
    ResultRow row;
    row.when = DateTime{2026, 11, 1 + i % 30, 8 + i % 12, i % 60, (i * 7) % 60};
    row.level = 1 + i % 15;
    row.balancingPoints = 24 >> (i % 3);
    row.answerPoints = 24;
    row.moves = 1 + i % 5;
    row.par = 2;
    row.clears = i % 2;
    row.hint = i % 9 == 0;
    row.tenths = 50 + i % 400;
    row.finished = i % 13 != 0;
    row.set = i % 4 == 0 ? "4711-6" : "";
    return row;
}

std::string HistoryText(size_t rows) {
    std::string text = kResultsHeader;
    for (size_t i = 0; i < rows; ++i) text += FormatResultRow(SampleRow(static_cast<int>(i)));
    return text;
}

// A folder holding a history of the given rows, put back as it was before
// each timed step.
struct StoredHistory {
    explicit StoredHistory(size_t rows) : text(HistoryText(rows)) { Restore(); }
    void Restore() {
        FileHistoryStorage storage(folder.path, kFile);
        std::string reason;
        if (!storage.Replace(text, reason)) throw std::runtime_error(reason);
    }
    TempFolder folder;
    std::string text;
};

void AppendRow(benchmark::State& state) {
    for (auto _ : state) {
        TempFolder folder;
        FileHistoryStorage storage(folder.path, kFile);
        ResultsHistory history(storage, nullptr);
        history.Read();
        std::vector<double> micros;
        for (int i = 0; i < 1000; ++i) {
            const auto start = std::chrono::steady_clock::now();
            if (!history.Append(SampleRow(i))) state.SkipWithError("append failed");
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(micros.begin(), micros.end());
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    }
}
BENCHMARK(AppendRow)->Iterations(1)->Unit(benchmark::kMillisecond);

void ReadAndDraw50000(benchmark::State& state) {
    const StoredHistory stored(ResultsHistory::kMaxRows);
    FileHistoryStorage storage(stored.folder.path, kFile);
    size_t bytes = 0;
    for (auto _ : state) {
        ResultsHistory history(storage, nullptr);
        const std::vector<ResultRow> rows = history.Read();
        if (rows.size() != ResultsHistory::kMaxRows) state.SkipWithError("rows lost");
        const std::string page = ProgressPage(rows, DateTime{2026, 12, 8, 12, 0, 0});
        bytes = page.size();
        benchmark::DoNotOptimize(page.data());
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ReadAndDraw50000)->Unit(benchmark::kMillisecond);

// The floor: the bytes of a 50,000-row history read once.
void HistoryLoad50000(benchmark::State& state) {
    const StoredHistory stored(ResultsHistory::kMaxRows - 1);
    FileHistoryStorage storage(stored.folder.path, kFile);
    for (auto _ : state) {
        const HistoryStorage::Loaded loaded = storage.Load();
        if (loaded.bytes.size() != stored.text.size()) state.SkipWithError("the history did not load");
        benchmark::DoNotOptimize(loaded.bytes.data());
    }
}

// The first row of a session: the history opened, then one row added. The
// file gets its old length back between steps, untimed.
void HistoryOpen50000(benchmark::State& state) {
    const StoredHistory stored(ResultsHistory::kMaxRows - 1);
    FileHistoryStorage storage(stored.folder.path, kFile);
    const std::string path = storage.Where();
    for (auto _ : state) {
        ResultsHistory history(storage, nullptr);
        if (!history.Append(SampleRow(7))) state.SkipWithError("append failed");
        state.PauseTiming();
        if (truncate(path.c_str(), static_cast<off_t>(stored.text.size())) != 0)
            state.SkipWithError("cannot put the history back");
        state.ResumeTiming();
    }
}

// The row past the limit: the oldest rows dropped in one rewrite.
void HistoryTrim50000(benchmark::State& state) {
    StoredHistory stored(ResultsHistory::kMaxRows);
    FileHistoryStorage storage(stored.folder.path, kFile);
    for (auto _ : state) {
        ResultsHistory history(storage, nullptr);
        if (!history.Append(SampleRow(7))) state.SkipWithError("append failed");
        state.PauseTiming();
        stored.Restore();
        state.ResumeTiming();
    }
}

// A game autoplayed for state.range(0) puzzles, timed per puzzle (the
// summary divides by the items counter). The player never errs, so the
// level climbs to the top within a hundred puzzles and stays there.
void AutoplayedGame(benchmark::State& state) {
    const int32_t puzzles = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        TempFolder config;
        ReplayPassRunner runner(config.path, 7, false);
        AutoPlayer player(puzzles);
        std::string error;
        if (!runner.Run([&player](ReplayPassRunner& r) { player.Plan(r); }, error) || !player.Error().empty())
            state.SkipWithError((error + player.Error()).c_str());
        else if (player.PuzzlesSolved() != puzzles)
            state.SkipWithError("the player stopped early");
    }
    state.counters["items"] = puzzles;
}

}  // namespace

void RegisterHistoryBenchmarks(Summary& summary) {
    benchmark::RegisterBenchmark("HistoryLoad50000", HistoryLoad50000)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("HistoryOpen50000", HistoryOpen50000)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("HistoryTrim50000", HistoryTrim50000)->Unit(benchmark::kMillisecond);
    summary.AddPair("HistoryOpen50000", "HistoryLoad50000", 3.0);
    summary.AddPair("HistoryTrim50000", "HistoryLoad50000", 0.0);
    benchmark::RegisterBenchmark("AutoplayedGame", AutoplayedGame)
        ->Arg(1000)
        ->Arg(50000)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    summary.AddPair("AutoplayedGame/50000/iterations:1", "AutoplayedGame/1000/iterations:1", 1.1);
}

}  // namespace pw::bench
