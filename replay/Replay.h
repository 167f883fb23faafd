#pragma once
// Replay files: a seed, the stored values the game starts from, and every
// stylus event with its tick count, as text.
//
//   pivotwarden-replay 1
//   seed 12345
//   score 500
//   level 9
//   auto 1
//   at 1000 down 30 295
//   at 1016 move 60 200
//   at 1032 up 50 150
//   at 5000 end
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw {

struct ReplayEvent {
    enum class Type { Down, Move, Up, End };
    uint32_t at = 0;
    Type type = Type::End;
    int32_t x = 0;
    int32_t y = 0;
};

// What a replay starts from. A stored value left out starts at its default;
// one that is given is stored as the settings file would hold it, so a value
// out of its range loads as the settings store loads it.
struct ReplayHeader {
    // Without a seed a replay plays on seed 0, so that it always ends the same.
    std::optional<uint32_t> seed;
    std::optional<int32_t> score;
    std::optional<int32_t> level;
    std::optional<int32_t> autoOff;  // the stored "auto": 0 while automatic levelling is on

    uint32_t SeedOrDefault() const { return seed.value_or(0); }
};

// A whole replay held in memory, for short texts (tests, the fuzzer, a replay
// handed over as a string); files are played from a ReplayReader instead.
struct Replay : ReplayHeader {
    // Ordered by time; the last one is the end.
    std::vector<ReplayEvent> events;
};

// Parses replay text. On failure returns false and a one-line message that
// names the line and the problem.
bool ParseReplay(const std::string& text, Replay& replay, std::string& error);

std::string FormatReplayEvent(const ReplayEvent& event);
// The header lines after the first, as --record writes them.
std::string FormatReplayHeader(const ReplayHeader& header);

// Stored settings values in a header are text of at most this many
// characters, as the settings store reads them.
constexpr size_t kMaxReplayValueChars = 9;
// A replay without an end runs this long past its last event, long enough
// for the pan flash and the last repaint to finish.
constexpr uint32_t kReplayTailMs = 1000;

// The events to play, one at a time, in time order; the last is the end.
class ReplayEvents {
public:
    virtual ~ReplayEvents() = default;
    // False when there is none left, or the source failed (see its message).
    virtual bool Next(ReplayEvent& event) = 0;
};

// The events of a replay held in memory.
class ReplayEventList : public ReplayEvents {
public:
    explicit ReplayEventList(const std::vector<ReplayEvent>& events) : events_(events) {}
    bool Next(ReplayEvent& event) override;

private:
    const std::vector<ReplayEvent>& events_;
    size_t next_ = 0;
};

}  // namespace pw
