#pragma once
// Test-side readers for the files the tool writes, independent of the encoders they check.
#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

namespace pw::tool::test {

std::vector<uint8_t> ReadBytes(const std::string& path);
uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset);
uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset);

struct DecodedDib {
    int width = 0, height = 0, headerHeight = 0, bitsPerPixel = 0;
    uint32_t compression = 0;
    std::vector<Rgb> palette;
    std::vector<uint8_t> indices;  // top row first
    Rgb At(int x, int y) const { return palette[indices[static_cast<size_t>(y) * width + x]]; }
};

// Decodes a DIB (BITMAPINFOHEADER onwards) of `rows` rows starting at offset; throws on surprises.
DecodedDib DecodeDib(const std::vector<uint8_t>& bytes, size_t offset, int rows);
// Decodes a whole .bmp file.
DecodedDib DecodeBmp(const std::vector<uint8_t>& bytes);

struct DecodedWav {
    uint16_t format = 0, channels = 0, bitsPerSample = 0;
    uint32_t sampleRate = 0;
    std::vector<int> samples;  // signed, 0 is silence (8-bit samples re-centred)
};

DecodedWav DecodeWav(const std::vector<uint8_t>& bytes);

}  // namespace pw::tool::test
