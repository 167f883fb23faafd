#pragma once
// A clock that shows whatever its driver sets: a replay's, which advances one
// millisecond per pass of the main loop, and the tests'.
#include <cstdint>

#include "platform/Platform.h"

namespace pw {

class VirtualClock : public Clock {
public:
    uint32_t Now() override { return now; }
    uint32_t now = 0;
};

}  // namespace pw
