// Replay text as anything: parsing must never crash, and a replay that parses
// prints back (header and events) to text that parses to the same replay.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "replay/Replay.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "replay_fuzz: %s\n", what);
    std::abort();
}

bool Same(const pw::ReplayEvent& a, const pw::ReplayEvent& b) {
    return a.at == b.at && a.type == b.type && a.x == b.x && a.y == b.y;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    pw::Replay replay;
    std::string error;
    if (!pw::ParseReplay(text, replay, error)) {
        Require(!error.empty(), "a rejected replay gives no reason");
        return 0;
    }
    Require(!replay.events.empty() && replay.events.back().type == pw::ReplayEvent::Type::End,
            "a parsed replay does not end with its end");
    std::string printed = "pivotwarden-replay 1\n" + pw::FormatReplayHeader(replay);
    for (const pw::ReplayEvent& event : replay.events) {
        Require(event.x >= 0 && event.x < 240 && event.y >= 0 && event.y < 320, "a position off the display");
        printed += pw::FormatReplayEvent(event) + "\n";
    }
    pw::Replay again;
    Require(pw::ParseReplay(printed, again, error), "a printed replay does not parse");
    Require(again.seed == replay.seed && again.score == replay.score && again.level == replay.level &&
                again.autoOff == replay.autoOff && again.events.size() == replay.events.size(),
            "the round trip differs");
    for (size_t i = 0; i < replay.events.size(); ++i)
        Require(Same(again.events[i], replay.events[i]), "an event differs");
    return 0;
}
