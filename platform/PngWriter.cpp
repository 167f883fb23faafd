#include "platform/PngWriter.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include <cstdio>
#include <fstream>

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

bool WritePng(const Surface& picture, const std::string& path, std::string& error) {
    const std::vector<uint8_t> png = EncodePng(picture);
    if (png.empty()) {
        error = "nothing to write to '" + path + "'";
        return false;
    }
    // Write beside the target and rename, so a failed write leaves no half file.
    const std::string temporary = path + ".part";
    bool ok = false;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        file.flush();
        ok = static_cast<bool>(file);
    }
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write screenshot '" + path + "'";
        return false;
    }
    return true;
}

}  // namespace pw
