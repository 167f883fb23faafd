#pragma once
// Collects the benchmark results as they are reported and, at the end, prints
// each measured piece of work beside its floor with the ratio and the goal.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace pw::bench {

class Summary : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that logs stay plain text.
    Summary();

    // work and floor are benchmark names as reported; goal is the largest
    // ratio of work to floor that meets the target, 0 for a ratio shown only
    // for comparison. A benchmark with an "items" counter (puzzles, rows) is
    // compared per item.
    void AddPair(const std::string& work, const std::string& floor, double goal);

    void ReportRuns(const std::vector<Run>& runs) override;
    // Prints the table; false when a pair misses its goal.
    bool Print() const;

private:
    struct Pair {
        std::string work;
        std::string floor;
        double goal;
    };
    std::vector<Pair> pairs_;
    std::map<std::string, double> nanoseconds_;
};

void RegisterComposeBenchmarks(Summary& summary);
void RegisterHistoryBenchmarks(Summary& summary);

}  // namespace pw::bench
