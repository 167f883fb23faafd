// The results history: one row appended to the file (the goal: a median of at
// most 1 ms over 1,000 appends, reported as median_us), and a full history of
// 50,000 rows read and drawn as the progress page (the goal: at most 100 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "results/ProgressPage.h"
#include "results/ResultsHistory.h"
#include "platform/posix/FileHistoryStorage.h"
#include "tools/autoplay/TempFolder.h"

namespace pw::bench {

namespace {

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

void AppendRow(benchmark::State& state) {
    for (auto _ : state) {
        TempFolder folder;
        FileHistoryStorage storage(folder.path, "results.csv");
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
    TempFolder folder;
    FileHistoryStorage storage(folder.path, "results.csv");
    std::string text = kResultsHeader;
    for (int i = 0; i < static_cast<int>(ResultsHistory::kMaxRows); ++i)
        text += FormatResultRow(SampleRow(i));
    std::string reason;
    if (!storage.Replace(text, reason)) state.SkipWithError(reason.c_str());
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

}  // namespace

}  // namespace pw::bench
