#pragma once
// RIFF WAVE files with one channel of uncompressed PCM: 8-bit unsigned or 16-bit signed samples.
#include <cstdint>
#include <vector>

namespace pw::tool {

struct PcmSound {
    int sampleRate = 11025;
    int bitsPerSample = 8;
    std::vector<double> samples;  // -1 .. 1; values beyond are clamped
};

std::vector<uint8_t> EncodeWav(const PcmSound& sound);

}  // namespace pw::tool
