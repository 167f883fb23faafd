#include "platform/web/WebSoundPlayer.h"

#include <emscripten.h>

namespace pw {

namespace {

// clang-format off
EM_JS(void, pw_sound_preload, (int id, const uint8_t* bytes, int size), {
    if (Module.sounds) Module.sounds.preload(id, HEAPU8.slice(bytes, bytes + size).buffer);
});
EM_JS(void, pw_sound_play, (int id), {
    if (Module.sounds) Module.sounds.play(id);
});
// clang-format on

}  // namespace

void WebSoundPlayer::Preload(const SoundData* sound) {
    if (sound != nullptr) pw_sound_preload(sound->id, sound->bytes, static_cast<int>(sound->size));
}

void WebSoundPlayer::Play(const SoundData* sound) {
    if (sound != nullptr) pw_sound_play(sound->id);
}

}  // namespace pw
