#include "IcoEncoder.h"

#include <stdexcept>

#include "BmpEncoder.h"
#include "ByteWriter.h"
#include "Palette.h"

namespace pw::tool {

namespace {

// XOR image with transparent pixels set to black (index of black added if needed), then the mask.
std::vector<uint8_t> EncodeIconImage(const Canvas& image, const std::string& name) {
    Canvas colours = image;
    colours.Replace(kKeyColour, Rgb{0, 0, 0});
    // The key colour stays first in the table even if unused, so indices match the game's pictures.
    const Palette palette = Palette::FromCanvas(colours, 16, name);
    std::vector<uint8_t> bytes = EncodeDib(colours, palette, 4, image.Height() * 2);
    const int maskRow = DibRowBytes(image.Width(), 1);
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
        for (int x = 0; x < image.Width(); ++x)
            if (image.IsKey(x, y)) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& images, const std::string& name) {
    std::vector<std::vector<uint8_t>> encoded;
    for (const Canvas& image : images) {
        if (image.Width() > 256 || image.Height() > 256) throw std::invalid_argument("icon image too large");
        encoded.push_back(EncodeIconImage(image, name));
    }
    ByteWriter out;
    out.U16(0);
    out.U16(1);  // icon
    out.U16(static_cast<uint16_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.U8(static_cast<uint8_t>(images[i].Width() % 256));
        out.U8(static_cast<uint8_t>(images[i].Height() % 256));
        out.U8(16);  // colours
        out.U8(0);
        out.U16(1);  // planes
        out.U16(4);  // bits per pixel
        out.U32(static_cast<uint32_t>(encoded[i].size()));
        out.U32(offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const std::vector<uint8_t>& image : encoded) out.Append(image);
    return out.Bytes();
}

}  // namespace pw::tool
