#pragma once
// The headless stand-ins for sound, clock and date: nothing is played, time
// is whatever the driver says.
#include <vector>

#include "platform/Platform.h"
#include "platform/VirtualClock.h"

namespace pw {

class RecordingSoundPlayer : public SoundPlayer {
public:
    void Play(const SoundData* sound) override {
        if (sound != nullptr) played.push_back(sound->id);
    }
    // Ids of the sounds started, in order.
    std::vector<int> played;
};

class FixedTime : public SystemTime {
public:
    DateTime LocalNow() override { return time; }
    DateTime time{2026, 1, 1, 0, 0, 0};
};

}  // namespace pw
