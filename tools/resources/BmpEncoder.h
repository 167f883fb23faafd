#pragma once
// Device-independent bitmaps as the game loads them: BITMAPINFOHEADER, no compression, bottom-up rows,
// 4 or 8 bits per pixel with a full colour table.
#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Palette.h"

namespace pw::tool {

// The whole .bmp file. Throws if the canvas needs more colours than bitsPerPixel allows.
std::vector<uint8_t> EncodeBmp(const Canvas& canvas, int bitsPerPixel, const std::string& name);

// The BITMAPINFOHEADER, colour table and pixel rows without the file header; icons reuse it with a
// doubled height and an AND mask after the pixels.
std::vector<uint8_t> EncodeDib(const Canvas& canvas, const Palette& palette, int bitsPerPixel,
                               int headerHeight);

// Bytes of one row of pixels, padded to a multiple of four.
int DibRowBytes(int width, int bitsPerPixel);

}  // namespace pw::tool
