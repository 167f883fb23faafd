#include "PngEncoder.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pw::tool {

void WritePng(const std::string& path, const Canvas& canvas) {
    std::vector<png_byte> rgba;
    rgba.reserve(static_cast<size_t>(canvas.Width()) * canvas.Height() * 4);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            const bool clear = c == kKeyColour;
            rgba.push_back(clear ? 0 : c.r);
            rgba.push_back(clear ? 0 : c.g);
            rgba.push_back(clear ? 0 : c.b);
            rgba.push_back(clear ? 0 : 255);
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.Width());
    image.height = static_cast<png_uint_32>(canvas.Height());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + path + ": " + image.message);
}

}  // namespace pw::tool
