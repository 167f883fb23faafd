#pragma once
// Sounds through one SDL audio device: each WAVE image is decoded and
// converted to the device's format once, and queued alone, so that a new
// sound cuts off the one playing. The device is opened on a thread of its
// own, started once the window is up, so that the window never waits for
// the audio system; a sound asked for before the device is ready plays as
// soon as it is. Without an audio device the game stays silent.
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Platform.h"

namespace pw {

class SdlSoundPlayer : public SoundPlayer {
public:
    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void Play(const SoundData* sound) override;
    // Starts opening the device in the background (once).
    void OpenInBackground();
    // Opens the device if not yet asked to, and waits until the device is open or known to be missing; true
    // when open.
    bool WaitForDevice();
    // Bytes of sound queued on the device and not yet played.
    uint32_t QueuedBytes();
    // The sound's samples in the device's format (empty when unreadable).
    size_t ConvertedBytes(const SoundData* sound);

private:
    enum class State { Opening, Open, Silent };

    void OpenDevice();
    // With mutex_ held and the device open.
    void Start(const SoundData* sound);
    const std::vector<uint8_t>& Converted(const SoundData* sound);

    std::mutex mutex_;
    State state_ = State::Opening;
    const SoundData* pending_ = nullptr;
    uint32_t device_ = 0;
    std::map<const SoundData*, std::vector<uint8_t>> converted_;
    std::thread opener_;
};

}  // namespace pw
