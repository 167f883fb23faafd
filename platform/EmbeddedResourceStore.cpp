#include "platform/EmbeddedResourceStore.h"

#include <SDL.h>

#include "resources/EmbeddedResources.h"

namespace pw {

std::unique_ptr<Surface> DecodeBmp(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0 || size > 64u * 1024 * 1024) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (rw == nullptr) return nullptr;
    SDL_Surface* loaded = SDL_LoadBMP_RW(rw, 1);
    if (loaded == nullptr) return nullptr;
    // Convert first, then read: keying an indexed surface would turn the
    // key into alpha.
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) return nullptr;
    auto surface = std::make_unique<Surface>(rgb->w, rgb->h);
    SDL_LockSurface(rgb);
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch);
        Pixel* out = surface->Row(y);
        for (int x = 0; x < rgb->w; ++x) out[x] = row[x] & 0x00FFFFFFu;
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    return surface;
}

std::unique_ptr<Surface> EmbeddedResourceStore::LoadBitmap(int id) {
    const EmbeddedResource* resource = FindEmbedded(EmbeddedKind::Bitmap, id);
    if (resource == nullptr) return nullptr;
    return DecodeBmp(resource->begin, resource->Size());
}

const SoundData* EmbeddedResourceStore::FindSound(int id) {
    auto found = sounds_.find(id);
    if (found != sounds_.end()) return &found->second;
    const EmbeddedResource* resource = FindEmbedded(EmbeddedKind::Wave, id);
    if (resource == nullptr) return nullptr;
    SoundData& sound = sounds_[id];
    sound.id = id;
    sound.bytes = resource->begin;
    sound.size = resource->Size();
    return &sound;
}

std::u16string EmbeddedResourceStore::LoadString(int id, int bufferChars) {
    const char16_t* text = FindEmbeddedString(id);
    if (text == nullptr || bufferChars <= 1) return std::u16string();
    std::u16string s(text);
    if (s.size() > static_cast<size_t>(bufferChars - 1)) s.resize(static_cast<size_t>(bufferChars - 1));
    return s;
}

}  // namespace pw
