#pragma once
// The real clock and calendar.
#include "platform/Platform.h"

namespace pw {

// Milliseconds of the monotonic clock, wrapping at 2^32.
class SystemClock : public Clock {
public:
    uint32_t Now() override;
};

class LocalSystemTime : public SystemTime {
public:
    DateTime LocalNow() override;
};

}  // namespace pw
