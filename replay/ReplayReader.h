#pragma once
// Reads replay text one line at a time, so that a replay of any length is
// played in the same small memory: the header first, then each event as it
// falls due.
#include <cstddef>
#include <optional>
#include <string>

#include "replay/Replay.h"

namespace pw {

// Where replay text comes from, a byte at a time.
class ReplayText {
public:
    virtual ~ReplayText() = default;
    // The next byte, or -1 at the end of the text.
    virtual int Get() = 0;
};

// Replay text held in a string (the browser hands a replay over whole).
class StringReplayText : public ReplayText {
public:
    explicit StringReplayText(const std::string& text) : text_(text) {}
    int Get() override { return next_ < text_.size() ? static_cast<unsigned char>(text_[next_++]) : -1; }

private:
    const std::string& text_;
    size_t next_ = 0;
};

class ReplayReader : public ReplayEvents {
public:
    // The longest line read, comment included; a longer one is refused
    // rather than held whole.
    static constexpr size_t kMaxLineBytes = 1024;

    explicit ReplayReader(ReplayText& in) : in_(in) {}

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

    ReplayText& in_;
    int lineNumber_ = 0;
    bool headerRead_ = false;
    bool ended_ = false;
    std::optional<ReplayEvent> first_;  // read with the header, played first
    uint32_t lastAt_ = 0;
    std::string error_;
};

}  // namespace pw
