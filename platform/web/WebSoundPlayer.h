#pragma once
// Sound through the page's Web Audio: each WAVE image is decoded once, and a
// new sound cuts off the one playing. Browsers let a page make sound only
// after the player's first press; the page resumes the audio then, and a
// sound asked for before that is silently skipped.
#include "platform/Platform.h"

namespace pw {

class WebSoundPlayer : public SoundPlayer {
public:
    // Hands the image to the page, which decodes it once; a sound that was
    // never preloaded is not played.
    void Preload(const SoundData* sound);
    void Play(const SoundData* sound) override;
};

}  // namespace pw
