#include "FileReader.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pw::tool::test {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 2 > bytes.size()) throw std::out_of_range("read past the end");
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return U16At(bytes, offset) | static_cast<uint32_t>(U16At(bytes, offset + 2)) << 16;
}

DecodedDib DecodeDib(const std::vector<uint8_t>& bytes, size_t offset, int rows) {
    DecodedDib dib;
    if (U32At(bytes, offset) != 40) throw std::runtime_error("not a BITMAPINFOHEADER");
    dib.width = static_cast<int32_t>(U32At(bytes, offset + 4));
    dib.headerHeight = static_cast<int32_t>(U32At(bytes, offset + 8));
    dib.height = rows;
    dib.bitsPerPixel = U16At(bytes, offset + 14);
    dib.compression = U32At(bytes, offset + 16);
    uint32_t used = U32At(bytes, offset + 32);
    if (used == 0) used = 1u << dib.bitsPerPixel;
    size_t at = offset + 40;
    for (uint32_t i = 0; i < used; ++i, at += 4)
        dib.palette.push_back(Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)});
    const size_t rowBytes = static_cast<size_t>((dib.width * dib.bitsPerPixel + 31) / 32 * 4);
    dib.indices.resize(static_cast<size_t>(dib.width) * rows);
    for (int fileRow = 0; fileRow < rows; ++fileRow) {
        const int y = rows - 1 - fileRow;  // bottom-up
        for (int x = 0; x < dib.width; ++x) {
            const uint8_t byte = bytes.at(at + fileRow * rowBytes + (dib.bitsPerPixel == 8 ? x : x / 2));
            const uint8_t index = dib.bitsPerPixel == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
            if (index >= dib.palette.size()) throw std::runtime_error("pixel index outside the palette");
            dib.indices[static_cast<size_t>(y) * dib.width + x] = index;
        }
    }
    return dib;
}

DecodedDib DecodeBmp(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') throw std::runtime_error("not a BMP");
    if (U32At(bytes, 2) != bytes.size()) throw std::runtime_error("file size field is wrong");
    const int32_t height = static_cast<int32_t>(U32At(bytes, 22));
    DecodedDib dib = DecodeDib(bytes, 14, height);
    const size_t paletteEnd = 14 + 40 + 4 * dib.palette.size();
    if (U32At(bytes, 10) != paletteEnd) throw std::runtime_error("pixel offset does not follow the palette");
    return dib;
}

DecodedWav DecodeWav(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(&bytes[8], "WAVE", 4) != 0)
        throw std::runtime_error("not a RIFF WAVE");
    if (U32At(bytes, 4) + 8 != bytes.size()) throw std::runtime_error("RIFF size is wrong");
    DecodedWav wav;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = U32At(bytes, at + 4);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0) {
            wav.format = U16At(bytes, at + 8);
            wav.channels = U16At(bytes, at + 10);
            wav.sampleRate = U32At(bytes, at + 12);
            wav.bitsPerSample = U16At(bytes, at + 22);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            const size_t step = wav.bitsPerSample / 8;
            for (size_t i = 0; i + step <= size; i += step)
                wav.samples.push_back(step == 1 ? bytes.at(at + 8 + i) - 128
                                                : static_cast<int16_t>(U16At(bytes, at + 8 + i)));
        }
        at += 8 + size + size % 2;
    }
    return wav;
}

}  // namespace pw::tool::test
