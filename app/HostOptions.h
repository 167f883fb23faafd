#pragma once
// The desktop host's command line. The game itself takes no options.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw {

struct HostOptions {
    int scale = 2;
    bool fullscreen = false;
    bool headless = false;
    // The window shows the bare picture, without its bar.
    bool noBar = false;
    std::optional<uint32_t> seed;
    std::string recordPath;
    std::string replayPath;
    std::string screenshotPath;
    std::string dumpPath;
    std::string describePath;
    // A puzzle set as given ("4711-6"); read by the host, which plays the
    // normal game when it is no set.
    std::string setText;
    // Write the progress view here and exit.
    std::string progressPath;
    // The results history kept in this file instead of the player's, also
    // headless and on replay (which otherwise keep none): for tests.
    std::string historyPath;
    bool showVersion = false;
    bool showHelp = false;
};

// False with a one-line message naming the problem for an unknown option, a
// missing or bad value.
bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error);

// What the help names that differs between systems: where the results
// history is kept, and the FILE that is the standard output.
struct UsagePlaces {
    std::string history;
    std::string standardOutput;
};
std::string HostUsage(const UsagePlaces& places);
// The options' lines of the usage, from the same table the parser reads.
std::string HostOptionsHelp(const UsagePlaces& places);

}  // namespace pw
