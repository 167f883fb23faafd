#pragma once
// The headless stand-ins for sound, clock and date: nothing is played, time
// is whatever the driver says.
#include <vector>

#include "platform/Platform.h"

namespace pw {

class RecordingSoundPlayer : public SoundPlayer {
public:
    void Play(const SoundData* sound) override {
        if (sound != nullptr) played.push_back(sound->id);
    }
    // Ids of the sounds started, in order.
    std::vector<int> played;
};

class VirtualClock : public Clock {
public:
    uint32_t Now() override { return now; }
    uint32_t now = 0;
};

class FixedTime : public SystemTime {
public:
    DateTime LocalNow() override { return time; }
    DateTime time{2026, 1, 1, 0, 0, 0};
};

}  // namespace pw
