// pw_soak: plays N puzzles with the autoplayer, pass by pass exactly as the
// replay of those puzzles runs, and fails when resident memory at the end is
// more than 1 MiB above what it was after the first puzzles, or when the run
// does not solve every puzzle. Leaks are left to LeakSanitizer at exit.
//
//   pw_soak [--puzzles N] [--baseline B] [--seed S]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "game/GameScreen.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

#if defined(__SANITIZE_ADDRESS__)
#define PW_SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PW_SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

constexpr long kAllowedGrowthKiB = 1024;

// VmRSS of this process in KiB, or -1 when /proc cannot tell.
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    int32_t puzzles = 10000, baseline = 100;
    uint32_t seed = 2024;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--puzzles") == 0)
            puzzles = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--baseline") == 0)
            baseline = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: pw_soak [--puzzles N] [--baseline B] [--seed S]\n");
            return 2;
        }
    }
    if (puzzles <= baseline || baseline <= 0) {
        std::fprintf(stderr, "pw_soak: need 0 < baseline < puzzles\n");
        return 2;
    }

    long atBaseline = -1, atEnd = -1;
    int32_t solved = 0;
    {
        pw::TempFolder config;
        pw::ReplayPassRunner runner(config.path, seed, false);
        pw::AutoPlayer player(puzzles);
        std::string error;
        const bool ran = runner.Run(
            [&](pw::ReplayPassRunner& r) {
                player.Plan(r);
                if (atBaseline < 0 && player.PuzzlesSolved() >= baseline) atBaseline = ResidentKiB();
            },
            error);
        atEnd = ResidentKiB();
        solved = player.PuzzlesSolved();
        if (!ran || !player.Error().empty()) {
            std::fprintf(stderr, "pw_soak: %s\n", ran ? player.Error().c_str() : error.c_str());
            return 1;
        }
        std::printf(
            "pw_soak: seed %u, %d puzzles solved, score %d, level %d, %zu events, virtual time %u ms\n", seed,
            solved, runner.Game()->settings.score, runner.Game()->settings.level, runner.EventCount(),
            runner.Now());
    }
    std::printf("pw_soak: resident %ld KiB after %d puzzles, %ld KiB after %d (%+ld KiB)\n", atBaseline,
                baseline, atEnd, solved, atEnd - atBaseline);
    if (solved != puzzles) {
        std::fprintf(stderr, "pw_soak: solved %d of %d puzzles\n", solved, puzzles);
        return 1;
    }
#ifdef PW_SOAK_UNDER_ASAN
    // AddressSanitizer keeps freed memory in quarantine, so resident memory
    // says nothing here; its leak check at exit does the work.
    std::printf("pw_soak: under AddressSanitizer: memory growth not judged\n");
#else
    if (atBaseline < 0 || atEnd < 0 || atEnd - atBaseline > kAllowedGrowthKiB) {
        std::fprintf(stderr, "pw_soak: resident memory grew by more than %ld KiB\n", kAllowedGrowthKiB);
        return 1;
    }
#endif
    return 0;
}
