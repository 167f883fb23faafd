#include "platform/web/WebSoundPlayer.h"

#include "platform/web/PageContract.h"

namespace pw {

void WebSoundPlayer::Preload(const SoundData* sound) {
    if (sound != nullptr) pw_sound_preload(sound->id, sound->bytes, static_cast<int>(sound->size));
}

void WebSoundPlayer::Play(const SoundData* sound) {
    if (sound != nullptr) pw_sound_play(sound->id);
}

}  // namespace pw
