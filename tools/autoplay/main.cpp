// pw_autoplay: writes a replay that solves N consecutive puzzles from a seed,
// played by real stylus events on the real game, and prints the score and
// level the replay ends with when played from fresh settings.
//
//   pw_autoplay --seed S --puzzles N --out FILE [--level L] [--verify]
//
// With --level the game starts at level L with automatic levelling off.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/MainLoop.h"
#include "replay/ReplayFile.h"
#include "replay/ReplaySettings.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/posix/InputFile.h"
#include "settings/SettingsStore.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace {

struct Options {
    uint32_t seed = 1;
    int32_t puzzles = 10;
    std::string out;
    std::optional<int32_t> level;
    bool verify = false;
};

int Usage() {
    std::fprintf(stderr, "usage: pw_autoplay --seed S --puzzles N --out FILE [--level L] [--verify]\n");
    return 2;
}

bool ParseNumber(const char* text, unsigned long long limit, unsigned long long& out) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return *end == '\0' && out <= limit;
}

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long number = 0;
        if (arg == "--seed" && ParseNumber(value, 0xFFFFFFFFull, number)) {
            options.seed = static_cast<uint32_t>(number);
            ++i;
        } else if (arg == "--puzzles" && ParseNumber(value, 10000000ull, number) && number > 0) {
            options.puzzles = static_cast<int32_t>(number);
            ++i;
        } else if (arg == "--level" && ParseNumber(value, pw::SettingsStore::kHighestLevel, number) &&
                   number >= static_cast<unsigned long long>(pw::SettingsStore::kLowestLevel)) {
            options.level = static_cast<int32_t>(number);
            ++i;
        } else if (arg == "--out" && value != nullptr) {
            options.out = value;
            ++i;
        } else if (arg == "--verify") {
            options.verify = true;
        } else {
            return false;
        }
    }
    return !options.out.empty();
}

struct Outcome {
    int32_t score = 0;
    int32_t level = 0;
};

// Plays the written replay back through the main loop's own replay mode.
bool Replayed(const std::string& path, Outcome& outcome, std::string& error) {
    pw::InputFile replayInput;
    pw::ReplayFile replay(replayInput);
    pw::ReplayHeader start;
    if (!replay.Open(path, start, error)) return false;
    pw::TempFolder config;
    pw::HeadlessPlatform platform(config.path);
    if (!pw::StoreReplayStart(platform.registry, start)) {
        error = "cannot store the replay's start";
        return false;
    }
    pw::MainLoop loop(platform.Get());
    loop.Start(start.SeedOrDefault());
    if (loop.RunReplay(replay, platform.clock) != 0) {
        error = replay.Error();
        return false;
    }
    if (loop.App() == nullptr) {
        error = "the replay closed the game";
        return false;
    }
    outcome.score = loop.App()->Game().settings.score;
    outcome.level = loop.App()->Game().settings.level;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) return Usage();

    Outcome expected;
    uint32_t endsAt = 0;
    {
        pw::TempFolder config;
        pw::ReplayPassRunner runner(config.path, options.seed, true, options.level);
        pw::AutoPlayer player(options.puzzles);
        std::string error;
        const bool ran = runner.Run([&player](pw::ReplayPassRunner& r) { player.Plan(r); }, error);
        if (!ran || !player.Error().empty()) {
            std::fprintf(stderr, "pw_autoplay: %s\n", ran ? player.Error().c_str() : error.c_str());
            return 1;
        }
        std::ofstream out(options.out, std::ios::binary | std::ios::trunc);
        out << runner.ReplayText();
        out.close();
        if (!out) {
            std::fprintf(stderr, "pw_autoplay: cannot write '%s'\n", options.out.c_str());
            return 1;
        }
        expected.score = runner.Game()->settings.score;
        expected.level = runner.Game()->settings.level;
        endsAt = runner.Now();
    }
    std::printf("seed %u puzzles %d written to %s\n", options.seed, options.puzzles, options.out.c_str());
    std::printf("expected from fresh settings: score %d level %d (virtual time %u ms)\n", expected.score,
                expected.level, endsAt);
    if (options.verify) {
        Outcome replayed;
        std::string error;
        if (!Replayed(options.out, replayed, error)) {
            std::fprintf(stderr, "pw_autoplay: verify: %s\n", error.c_str());
            return 1;
        }
        const bool same = replayed.score == expected.score && replayed.level == expected.level;
        std::printf("replayed: score %d level %d: %s\n", replayed.score, replayed.level,
                    same ? "as expected" : "DIFFERENT");
        if (!same) return 1;
    }
    return 0;
}
