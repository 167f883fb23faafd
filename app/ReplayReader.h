#pragma once
// Reads replay text one line at a time, so that a replay of any length is
// played in the same small memory: the header first, then each event as it
// falls due.
#include <cstddef>
#include <istream>
#include <optional>
#include <string>

#include "app/Replay.h"

namespace pw {

class ReplayReader : public ReplayEvents {
public:
    // The longest line read, comment included; a longer one is refused
    // rather than held whole.
    static constexpr size_t kMaxLineBytes = 1024;

    explicit ReplayReader(std::istream& in) : in_(in) {}

    // Reads up to the first event. False with Error() for bad text.
    bool ReadHeader(ReplayHeader& header);
    // The next event; after the last one comes the end, made up
    // kReplayTailMs after the last event when the text has none. False after
    // the end, and for bad text (then Error() says why).
    bool Next(ReplayEvent& event) override;

    // Empty, or one line naming the line of the text and the problem.
    const std::string& Error() const { return error_; }

private:
    enum class Line { Text, Finished, Failed };
    Line ReadLine(std::string& line);
    bool Fail(const std::string& what);
    bool ReadHeaderLine(const std::string& name, const std::string* value, ReplayHeader& header);
    bool ParseEvent(const std::string* words, size_t count, ReplayEvent& event);
    Line ReadRecord(ReplayHeader* header, ReplayEvent& event);

    std::istream& in_;
    int lineNumber_ = 0;
    bool headerRead_ = false;
    bool ended_ = false;
    std::optional<ReplayEvent> first_;  // read with the header, played first
    uint32_t lastAt_ = 0;
    std::string error_;
};

}  // namespace pw
