#include "platform/sdl/MixerSoundPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace pw {

MixerSoundPlayer::MixerSoundPlayer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    open_ = Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024) == 0;
    if (open_) {
        Mix_AllocateChannels(1);
    } else {
        // No device: stop the audio subsystem too, or its hot-plug watcher
        // wakes ten times a second for the whole game.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

MixerSoundPlayer::~MixerSoundPlayer() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (auto& entry : chunks_)
        if (entry.second != nullptr) Mix_FreeChunk(entry.second);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void MixerSoundPlayer::Play(const SoundData* sound) {
    if (!open_ || sound == nullptr) return;
    auto found = chunks_.find(sound);
    Mix_Chunk* chunk = nullptr;
    if (found != chunks_.end()) {
        chunk = found->second;
    } else {
        chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(sound->bytes, static_cast<int>(sound->size)), 1);
        chunks_[sound] = chunk;
    }
    if (chunk != nullptr) Mix_PlayChannel(0, chunk, 0);
}

}  // namespace pw
