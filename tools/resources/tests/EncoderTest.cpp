#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "BmpEncoder.h"
#include "FileReader.h"
#include "IcoEncoder.h"
#include "Synth.h"
#include "WavEncoder.h"

namespace pw::tool {
namespace {

using test::DecodeBmp;
using test::DecodeDib;
using test::DecodeWav;
using test::U16At;
using test::U32At;

TEST(BmpEncoderTest, FourBitRowsAreBottomUpHighNibbleFirstAndPadded) {
    Canvas c(3, 2);
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    c.Set(0, 0, red);
    c.Set(2, 1, blue);
    const std::vector<uint8_t> file = EncodeBmp(c, 4, "t");
    EXPECT_EQ(file.size(), 14u + 40 + 16 * 4 + 2 * 4);
    EXPECT_EQ(U16At(file, 28), 4);
    EXPECT_EQ(U32At(file, 30), 0u);  // BI_RGB
    const test::DecodedDib dib = DecodeBmp(file);
    EXPECT_EQ(dib.width, 3);
    EXPECT_EQ(dib.palette.size(), 16u);
    EXPECT_EQ(dib.palette[0], kKeyColour);
    EXPECT_EQ(dib.At(0, 0), red);
    EXPECT_EQ(dib.At(2, 1), blue);
    EXPECT_EQ(dib.At(1, 0), kKeyColour);
    // The first stored row is the bottom one: its third pixel (high nibble of byte 1) is blue, the
    // low nibble pads the odd width.
    const size_t pixels = U32At(file, 10);
    EXPECT_EQ(file[pixels], 0x00);
    EXPECT_EQ(dib.palette[file[pixels + 1] >> 4], blue);
    EXPECT_EQ(file[pixels + 1] & 0x0F, 0);
}

TEST(BmpEncoderTest, EightBitKeepsManyColoursAndFourBitRefusesThem) {
    Canvas c(20, 1);
    for (int x = 0; x < 20; ++x) c.Set(x, 0, Rgb{static_cast<uint8_t>(x * 10), 0, 0});
    EXPECT_THROW(EncodeBmp(c, 4, "t"), std::runtime_error);
    const test::DecodedDib dib = DecodeBmp(EncodeBmp(c, 8, "t"));
    EXPECT_EQ(dib.palette.size(), 256u);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(dib.At(x, 0), (Rgb{static_cast<uint8_t>(x * 10), 0, 0}));
}

TEST(IcoEncoderTest, ImagesCarryDoubledHeightAndAMaskOfTheKeyPixels) {
    Canvas big(32, 32, Rgb{0, 128, 0});
    big.Set(0, 0, kKeyColour);
    Canvas small(16, 16, Rgb{0, 0, 128});
    const std::vector<uint8_t> ico = EncodeIco({big, small}, "t");
    EXPECT_EQ(U16At(ico, 2), 1);
    ASSERT_EQ(U16At(ico, 4), 2);
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[6 + 16], 16);
    EXPECT_EQ(U16At(ico, 6 + 6), 4);  // bits per pixel
    const uint32_t offset = U32At(ico, 6 + 12);
    const test::DecodedDib dib = DecodeDib(ico, offset, 32);
    EXPECT_EQ(dib.headerHeight, 64);
    EXPECT_EQ(dib.At(1, 0), (Rgb{0, 128, 0}));
    EXPECT_EQ(dib.At(0, 0), (Rgb{0, 0, 0}));  // transparent pixels are black under the mask
    // AND mask follows the pixels: 32 rows of 4 bytes, bottom-up, so the top row is the last one.
    const size_t mask = offset + 40 + 16 * 4 + 32 * 16;
    EXPECT_EQ(ico[mask + 31 * 4], 0x80);
    EXPECT_EQ(ico[mask], 0x00);
    EXPECT_EQ(U32At(ico, 6 + 8), 40u + 64 + 32 * 16 + 32 * 4);
}

TEST(WavEncoderTest, EightBitIsUnsignedAroundMidpointSixteenBitSigned) {
    PcmSound sound;
    sound.sampleRate = 8000;
    sound.bitsPerSample = 8;
    sound.samples = {0.0, 1.0, -1.0, 2.0};
    const std::vector<uint8_t> file = EncodeWav(sound);
    EXPECT_EQ(file.size(), 44u + 4);
    EXPECT_EQ(file[44], 128);
    EXPECT_EQ(file[45], 255);
    EXPECT_EQ(file[46], 1);
    EXPECT_EQ(file[47], 255);  // clamped
    sound.bitsPerSample = 16;
    sound.samples = {0.5, -0.5, 0.0};
    const test::DecodedWav wav = DecodeWav(EncodeWav(sound));
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.sampleRate, 8000u);
    EXPECT_EQ(wav.samples, (std::vector<int>{16384, -16384, 0}));
}

TEST(WavEncoderTest, OddEightBitDataIsPaddedToAnEvenChunk) {
    PcmSound sound;
    sound.samples = {0.0, 0.0, 0.0};
    const std::vector<uint8_t> file = EncodeWav(sound);
    EXPECT_EQ(U32At(file, 40), 3u);
    EXPECT_EQ(file.size(), 44u + 4);
    EXPECT_EQ(DecodeWav(file).samples.size(), 3u);
}

TEST(SynthTest, FinishedSoundPeaksAsAskedAndEndsAtSilence) {
    Synth synth(11025, 16, 0.2);
    synth.AddTone(0.0, 0.2, 440, 440, 1.0, 0.0, 0.0);
    synth.AddNoise(0.0, 0.2, 0.5, 2000, 0.0, 0.0, 1);
    const PcmSound sound = synth.Finish(0.5, 0.01);
    ASSERT_FALSE(sound.samples.empty());
    EXPECT_EQ(sound.samples.size() % 2, 0u);
    EXPECT_DOUBLE_EQ(sound.samples.front(), 0.0);
    EXPECT_NEAR(sound.samples.back(), 0.0, 1e-12);
    double peak = 0;
    for (double s : sound.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, 0.5 + 1e-9);
    EXPECT_GT(peak, 0.4);
}

}  // namespace
}  // namespace pw::tool
