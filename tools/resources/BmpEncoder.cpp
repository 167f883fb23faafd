#include "BmpEncoder.h"

#include <stdexcept>

#include "ByteWriter.h"

namespace pw::tool {

namespace {
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
}  // namespace

int DibRowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

std::vector<uint8_t> EncodeDib(const Canvas& canvas, const Palette& palette, int bitsPerPixel,
                               int headerHeight) {
    if (bitsPerPixel != 4 && bitsPerPixel != 8) throw std::invalid_argument("only 4 and 8 bits per pixel");
    const int tableSize = 1 << bitsPerPixel;
    const int rowBytes = DibRowBytes(canvas.Width(), bitsPerPixel);
    ByteWriter out;
    out.U32(kInfoHeaderSize);
    out.I32(canvas.Width());
    out.I32(headerHeight);  // positive: rows are stored bottom-up
    out.U16(1);
    out.U16(static_cast<uint16_t>(bitsPerPixel));
    out.U32(0);  // BI_RGB
    out.U32(static_cast<uint32_t>(rowBytes * canvas.Height()));
    out.I32(2835);  // 72 dpi
    out.I32(2835);
    out.U32(0);  // the whole colour table is present
    out.U32(0);
    for (int i = 0; i < tableSize; ++i) {
        const Rgb c =
            static_cast<size_t>(i) < palette.Size() ? palette[static_cast<size_t>(i)] : Rgb{0, 0, 0};
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint8_t index = palette.IndexOf(canvas.At(x, y));
            if (bitsPerPixel == 8)
                row[static_cast<size_t>(x)] = index;
            else
                row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.Append(row);
    }
    return out.Bytes();
}

std::vector<uint8_t> EncodeBmp(const Canvas& canvas, int bitsPerPixel, const std::string& name) {
    const Palette palette = Palette::FromCanvas(canvas, size_t{1} << bitsPerPixel, name);
    const std::vector<uint8_t> dib = EncodeDib(canvas, palette, bitsPerPixel, canvas.Height());
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4u * (1u << bitsPerPixel);
    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<uint32_t>(kFileHeaderSize + dib.size()));
    out.U32(0);
    out.U32(pixelOffset);
    out.Append(dib);
    return out.Bytes();
}

}  // namespace pw::tool
