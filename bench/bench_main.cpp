// pw_bench: every benchmark of the game, then a summary of the ratios to the
// memcpy floor. Accepts the usual --benchmark_* options. The ratios divide CPU
// times: on a shared machine the wall time also counts the waits for a core.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "bench/Summary.h"

namespace pw::bench {

Summary::Summary() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void Summary::AddPair(const std::string& work, const std::string& floor, double goal) {
    pairs_.push_back(Pair{work, floor, goal});
}

void Summary::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
        const double unit = run.time_unit == benchmark::kSecond        ? 1e9
                            : run.time_unit == benchmark::kMillisecond ? 1e6
                            : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                       : 1.0;
        const auto items = run.counters.find("items");
        const double per = items != run.counters.end() && items->second.value > 0 ? items->second.value : 1.0;
        nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime() * unit / per;
    }
    ConsoleReporter::ReportRuns(runs);
}

bool Summary::Print() const {
    bool allMet = true;
    int width = 22;
    for (const Pair& pair : pairs_) width = std::max(width, static_cast<int>(pair.work.size()));
    std::printf("\n%-*s %12s %12s %8s %6s  %s\n", width, "work", "cpu us", "floor us", "ratio", "goal",
                "verdict");
    for (const Pair& pair : pairs_) {
        const auto work = nanoseconds_.find(pair.work);
        const auto floor = nanoseconds_.find(pair.floor);
        if (work == nanoseconds_.end() || floor == nanoseconds_.end()) continue;
        const double ratio = work->second / floor->second;
        if (pair.goal <= 0) {
            std::printf("%-*s %12.2f %12.2f %8.2f %6s\n", width, pair.work.c_str(), work->second / 1e3,
                        floor->second / 1e3, ratio, "-");
            continue;
        }
        const bool met = ratio <= pair.goal;
        allMet = allMet && met;
        std::printf("%-*s %12.2f %12.2f %8.2f %5.1fx  %s\n", width, pair.work.c_str(), work->second / 1e3,
                    floor->second / 1e3, ratio, pair.goal, met ? "met" : "MISSED");
    }
    return allMet;
}

}  // namespace pw::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    pw::bench::Summary summary;
    pw::bench::RegisterComposeBenchmarks(summary);
    pw::bench::RegisterHistoryBenchmarks(summary);
    benchmark::RunSpecifiedBenchmarks(&summary);
    summary.Print();
    benchmark::Shutdown();
    return 0;
}
