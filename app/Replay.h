#pragma once
// Replay files: a seed and every stylus event with its tick count, as text.
//
//   pivotwarden-replay 1
//   seed 12345
//   at 1000 down 30 295
//   at 1016 move 60 200
//   at 1032 up 50 150
//   at 5000 end
#include <cstdint>
#include <cstdio>
#include <istream>
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

struct Replay {
    std::optional<uint32_t> seed;
    // Ordered by time; the last one is the end.
    std::vector<ReplayEvent> events;
};

// Parses replay text. On failure returns false and a one-line message that
// names the line and the problem.
bool ParseReplay(const std::string& text, Replay& replay, std::string& error);
bool ParseReplay(std::istream& in, Replay& replay, std::string& error);
// Reads and parses a file; the message also covers a file that cannot be read.
bool LoadReplay(const std::string& path, Replay& replay, std::string& error);

std::string FormatReplayEvent(const ReplayEvent& event);

// Writes the replay of the game being played, line by line, so that even a
// run that ends abruptly leaves what it recorded.
class ReplayRecorder {
public:
    ReplayRecorder() = default;
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    bool Open(const std::string& path, uint32_t seed, std::string& error);
    void Record(const ReplayEvent& event);
    bool IsOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_ = nullptr;
};

}  // namespace pw
