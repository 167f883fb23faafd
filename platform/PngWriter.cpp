#include "platform/PngWriter.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace pw {

namespace {

void Append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    const auto* from = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(const Surface& picture) {
    std::vector<uint8_t> png;
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0) return png;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    uint8_t* out = rgb.data();
    for (int y = 0; y < h; ++y) {
        const Pixel* row = picture.Row(y);
        for (int x = 0; x < w; ++x) {
            *out++ = static_cast<uint8_t>(row[x] >> 16);
            *out++ = static_cast<uint8_t>(row[x] >> 8);
            *out++ = static_cast<uint8_t>(row[x]);
        }
    }
    if (stbi_write_png_to_func(Append, &png, w, h, 3, rgb.data(), w * 3) == 0) png.clear();
    return png;
}

}  // namespace pw
