#pragma once
// The player's clock with the time How to play was shown taken out, for what
// measures the player's own time: a puzzle's seconds run from its first
// press to its balance, and a look at How to play meanwhile is not time
// spent on the puzzle.
#include <cstdint>

#include "platform/Platform.h"

namespace pw {

class ClockWithoutHowToPlay : public Clock {
public:
    explicit ClockWithoutHowToPlay(Clock& clock) : clock_(clock) {}
    uint32_t Now() override { return clock_.Now() - shown_; }
    // How to play was shown this long, just now.
    void LeaveOut(uint32_t ms) { shown_ += ms; }

private:
    Clock& clock_;
    uint32_t shown_ = 0;
};

}  // namespace pw
