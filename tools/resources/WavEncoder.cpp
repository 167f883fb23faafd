#include "WavEncoder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ByteWriter.h"

namespace pw::tool {

std::vector<uint8_t> EncodeWav(const PcmSound& sound) {
    if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
        throw std::invalid_argument("only 8- and 16-bit samples");
    const uint16_t bytesPerSample = static_cast<uint16_t>(sound.bitsPerSample / 8);
    const uint32_t dataSize = static_cast<uint32_t>(sound.samples.size() * bytesPerSample);
    const uint32_t padding = dataSize % 2;
    ByteWriter out;
    out.Text("RIFF");
    out.U32(4 + 8 + 16 + 8 + dataSize + padding);
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(static_cast<uint32_t>(sound.sampleRate));
    out.U32(static_cast<uint32_t>(sound.sampleRate) * bytesPerSample);
    out.U16(bytesPerSample);
    out.U16(static_cast<uint16_t>(sound.bitsPerSample));
    out.Text("data");
    out.U32(dataSize);
    for (double s : sound.samples) {
        const double v = std::clamp(s, -1.0, 1.0);
        if (sound.bitsPerSample == 8)
            out.U8(static_cast<uint8_t>(128 + std::lround(v * 127)));
        else
            out.U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767))));
    }
    if (padding) out.U8(0);
    return out.Bytes();
}

}  // namespace pw::tool
