#include "platform/EmbeddedResourceStore.h"

// Debian's stb reads the BMPs, the same code on the desktop and in the browser.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

#include "resources/EmbeddedResources.h"

namespace pw {

std::unique_ptr<Surface> DecodeBmp(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0 || size > 64u * 1024 * 1024) return nullptr;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 3);
    if (rgb == nullptr) return nullptr;
    auto surface = std::make_unique<Surface>(width, height);
    const stbi_uc* in = rgb;
    for (int y = 0; y < height; ++y) {
        Pixel* out = surface->Row(y);
        for (int x = 0; x < width; ++x, in += 3) out[x] = Rgb(in[0], in[1], in[2]);
    }
    stbi_image_free(rgb);
    return surface;
}

std::unique_ptr<Surface> EmbeddedResourceStore::LoadBitmap(int id) {
    const EmbeddedResource* resource = FindEmbedded(EmbeddedKind::Bitmap, id);
    if (resource == nullptr) return nullptr;
    return DecodeBmp(resource->begin, resource->Size());
}

Size EmbeddedResourceStore::BitmapSize(int id) {
    const EmbeddedResource* resource = FindEmbedded(EmbeddedKind::Bitmap, id);
    int width = 0, height = 0, channels = 0;
    if (resource == nullptr || resource->Size() > 64u * 1024 * 1024 ||
        stbi_info_from_memory(resource->begin, static_cast<int>(resource->Size()), &width, &height, &channels) == 0)
        return Size{};
    return Size{width, height};
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
