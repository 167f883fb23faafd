#include "platform/sdl/SdlSoundPlayer.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/SignalFreeThread.h"
#include "platform/sdl/SoundDevices.h"
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace pw {

namespace {

// The device's format; every sound is converted to it once.
constexpr int kRate = 22050;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr Uint8 kChannels = 1;

}  // namespace

SdlSoundPlayer::SdlSoundPlayer() = default;

SdlSoundPlayer::~SdlSoundPlayer() {
    if (opener_.joinable()) opener_.join();
    if (state_ != State::Open) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundPlayer::OpenInBackground() {
    if (!opener_.joinable() && state_ == State::Opening)
        opener_ = StartSignalFreeThread([this]() { OpenDevice(); });
}

void SdlSoundPlayer::OpenDevice() {
    uint32_t device = 0;
    const bool mayBeThere = SoundMayBeThere("", [](const char* name) { return std::getenv(name); });
    if (!mayBeThere)
        SDL_SetError("no sound device or sound server found");
    else if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = kFormat;
        want.channels = kChannels;
        want.samples = 1024;
        // No callback: sounds are queued; SDL converts to what the device takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        // No device: stop the audio subsystem too, or its hot-plug watcher
        // wakes ten times a second for the whole game. Stopping it waits for
        // that watcher, which is why this runs off the game's own thread.
        if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
#ifdef __GLIBC__
    // Probing the sound systems parses their configuration on this thread's
    // own heap and frees it again: hand those pages back.
    malloc_trim(0);
#endif
    // The sound libraries' own complaints are switched off; this one line
    // says why the game is silent.
    if (device == 0) std::fprintf(stderr, "pivotwarden: playing without sound: %s\n", SDL_GetError());
    std::lock_guard<std::mutex> lock(mutex_);
    if (device == 0) {
        state_ = State::Silent;
        return;
    }
    device_ = device;
    state_ = State::Open;
    SDL_PauseAudioDevice(device_, 0);
    if (pending_ != nullptr) Start(pending_);
    pending_ = nullptr;
}

bool SdlSoundPlayer::WaitForDevice() {
    OpenInBackground();
    if (opener_.joinable()) opener_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Open;
}

uint32_t SdlSoundPlayer::QueuedBytes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == State::Open ? SDL_GetQueuedAudioSize(device_) : 0;
}

size_t SdlSoundPlayer::ConvertedBytes(const SoundData* sound) {
    std::lock_guard<std::mutex> lock(mutex_);
    return sound == nullptr ? 0 : Converted(sound).size();
}

void SdlSoundPlayer::Play(const SoundData* sound) {
    if (sound == nullptr) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == State::Opening)
        pending_ = sound;  // the latest sound wins, as on the device
    else if (state_ == State::Open)
        Start(sound);
}

void SdlSoundPlayer::Start(const SoundData* sound) {
    const std::vector<uint8_t>& samples = Converted(sound);
    SDL_ClearQueuedAudio(device_);
    if (!samples.empty()) SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size()));
}

const std::vector<uint8_t>& SdlSoundPlayer::Converted(const SoundData* sound) {
    auto found = converted_.find(sound);
    if (found != converted_.end()) return found->second;
    std::vector<uint8_t>& samples = converted_[sound];  // stays empty when the image is unreadable
    SDL_AudioSpec spec{};
    Uint8* wave = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(sound->bytes, static_cast<int>(sound->size)), 1, &spec, &wave,
                       &length) == nullptr)
        return samples;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, kFormat, kChannels, kRate) >= 0) {
        samples.resize(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult));
        std::memcpy(samples.data(), wave, length);
        cvt.buf = samples.data();
        cvt.len = static_cast<int>(length);
        if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0)
            samples.resize(cvt.needed == 0 ? length : static_cast<size_t>(cvt.len_cvt));
        else
            samples.clear();
    }
    SDL_FreeWAV(wave);
    return samples;
}

}  // namespace pw
