#pragma once
// Sounds through SDL_mixer, all on one channel so that a new sound cuts off
// the one playing. Without an audio device the game stays silent.
#include <map>

#include "platform/Platform.h"

struct Mix_Chunk;

namespace pw {

class MixerSoundPlayer : public SoundPlayer {
public:
    MixerSoundPlayer();
    ~MixerSoundPlayer() override;
    MixerSoundPlayer(const MixerSoundPlayer&) = delete;
    MixerSoundPlayer& operator=(const MixerSoundPlayer&) = delete;

    void Play(const SoundData* sound) override;
    bool HasDevice() const { return open_; }

private:
    std::map<const SoundData*, Mix_Chunk*> chunks_;
    bool open_ = false;
};

}  // namespace pw
