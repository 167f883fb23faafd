// Checks the committed artwork and sounds against the shapes the game loads and the places where it
// stands weights and flashes the pans.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "FileReader.h"

namespace pw::tool {
namespace {

using test::DecodeBmp;
using test::DecodedDib;

const std::string kRoot = PW_RESOURCES_DIR;

DecodedDib Bitmap(int id) {
    return DecodeBmp(test::ReadBytes(kRoot + "/bitmaps/" + std::to_string(id) + ".bmp"));
}

struct BitmapShape {
    int id, width, height, bitsPerPixel;
};

const BitmapShape kShapes[] = {{205, 20, 20, 4},   {300, 240, 320, 4}, {301, 720, 320, 4}, {302, 20, 30, 4},
                               {303, 20, 30, 4},   {304, 240, 320, 4}, {305, 1110, 11, 4}, {306, 60, 30, 4},
                               {307, 20, 20, 4},   {308, 16, 20, 8},   {309, 240, 75, 4},  {310, 80, 20, 8},
                               {311, 240, 100, 4}, {312, 40, 20, 4},   {313, 20, 15, 4},   {314, 20, 15, 4},
                               {315, 10, 10, 4}};

TEST(CommittedBitmapsTest, EachHasItsSizeDepthAndTheKeyColour) {
    for (const BitmapShape& shape : kShapes) {
        SCOPED_TRACE(shape.id);
        const DecodedDib dib = Bitmap(shape.id);
        EXPECT_EQ(dib.width, shape.width);
        EXPECT_EQ(dib.headerHeight, shape.height);  // positive: bottom-up
        EXPECT_EQ(dib.bitsPerPixel, shape.bitsPerPixel);
        EXPECT_EQ(dib.compression, 0u);
        bool hasKey = false;
        for (const Rgb& c : dib.palette) hasKey |= c == kKeyColour;
        EXPECT_TRUE(hasKey);
    }
}

// Anti-aliasing over the key colour would leave pinkish blends of it; none may be used.
TEST(CommittedBitmapsTest, NoColourIsABlendTowardsTheKey) {
    for (const BitmapShape& shape : kShapes) {
        SCOPED_TRACE(shape.id);
        const DecodedDib dib = Bitmap(shape.id);
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                const Rgb c = dib.At(x, y);
                if (c == kKeyColour) continue;
                const int distance = std::abs(c.r - kKeyColour.r) + std::abs(c.g - kKeyColour.g) +
                                     std::abs(c.b - kKeyColour.b);
                ASSERT_GT(distance, 90) << "pinkish pixel at " << x << "," << y;
            }
    }
}

TEST(CommittedBitmapsTest, OpaquePicturesHaveNoHoles) {
    for (int id : {300, 304, 309, 311}) {
        SCOPED_TRACE(id);
        const DecodedDib dib = Bitmap(id);
        for (size_t i = 0; i < dib.indices.size(); ++i) ASSERT_NE(dib.palette[dib.indices[i]], kKeyColour);
    }
}

// The game stands weights with their bottoms on row (pan surface - 1) at these x ranges.
struct PanSpot {
    int x0, x1, surface;  // x of the first and of the third weight
};

TEST(CommittedBitmapsTest, ScaleFramesCarryPansWhereTheWeightsStand) {
    const DecodedDib scale = Bitmap(301);
    const int surfaces[3][2] = {{180, 140}, {160, 160}, {140, 180}};
    for (int frame = 0; frame < 3; ++frame) {
        const PanSpot spots[2] = {{18, 64, surfaces[frame][0]}, {158, 204, surfaces[frame][1]}};
        for (const PanSpot& spot : spots) {
            SCOPED_TRACE("frame " + std::to_string(frame) + " pan at x " + std::to_string(spot.x0));
            for (int x = spot.x0; x < spot.x1 + 20; ++x) {
                ASSERT_FALSE(scale.At(frame * 240 + x, spot.surface) == kKeyColour) << "no pan under x " << x;
                ASSERT_TRUE(scale.At(frame * 240 + x, spot.surface - 1) == kKeyColour)
                    << "pan above surface at " << x;
            }
        }
        // The tray below the scale stays clear.
        for (int y = 270; y < 320; ++y)
            for (int x = 0; x < 240; ++x) ASSERT_EQ(scale.At(frame * 240 + x, y), kKeyColour);
    }
}

TEST(CommittedBitmapsTest, FlashFramesCoverExactlyTheLevelPans) {
    const DecodedDib scale = Bitmap(301);
    const DecodedDib flash = Bitmap(305);
    for (int frame = 0; frame < 5; ++frame) {
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 222; ++x) {
                const bool flashed = flash.At(frame * 222 + x, y) != kKeyColour;
                const Rgb under = scale.At(240 + 10 + x, 160 + y);
                // Pan pixels are everything of the level frame in these rows except the cords and post.
                const bool onPan = under != kKeyColour && (x + 10 < 100 || x + 10 > 142);
                ASSERT_EQ(flashed, onPan) << "frame " << frame << " at " << x << "," << y;
            }
        // Pans alternate: the left pan's colour in this frame is the right pan's in the next.
        if (frame + 1 < 5) {
            EXPECT_EQ(flash.At(frame * 222 + 40, 5), flash.At((frame + 1) * 222 + 180, 5));
            EXPECT_NE(flash.At(frame * 222 + 40, 5), flash.At(frame * 222 + 180, 5));
        }
    }
}

TEST(CommittedBitmapsTest, WeightsAreLightInTheMiddleForTheirNumbers) {
    for (int id : {302, 303}) {
        const DecodedDib weight = Bitmap(id);
        for (int y = 9; y < 22; ++y)
            for (int x = 6; x < 15; ++x) {
                const Rgb c = weight.At(x, y);
                EXPECT_GT(c.r * 299 + c.g * 587 + c.b * 114, 170 * 1000) << id << " at " << x << "," << y;
            }
    }
}

TEST(CommittedIconTest, HoldsA32AndA16PixelImageIn16Colours) {
    const std::vector<uint8_t> ico = test::ReadBytes(kRoot + "/icon/101.ico");
    ASSERT_EQ(test::U16At(ico, 4), 2);
    for (int i = 0; i < 2; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        const int size = i == 0 ? 32 : 16;
        EXPECT_EQ(ico[entry], size);
        EXPECT_EQ(test::U16At(ico, entry + 6), 4);
        const DecodedDib dib = test::DecodeDib(ico, test::U32At(ico, entry + 12), size);
        EXPECT_EQ(dib.headerHeight, 2 * size);
        EXPECT_EQ(dib.palette.size(), 16u);
    }
}

struct SoundShape {
    int id;
    uint32_t rate;
    uint16_t bits;
};

TEST(CommittedSoundsTest, FormatsLengthsLevelsAndQuietEnds) {
    const SoundShape shapes[] = {{20003, 11025, 8}, {20004, 22050, 16}, {20005, 11025, 16},
                                 {20007, 8000, 8},  {20008, 11025, 8},  {20009, 11025, 8}};
    for (const SoundShape& shape : shapes) {
        SCOPED_TRACE(shape.id);
        const test::DecodedWav wav =
            test::DecodeWav(test::ReadBytes(kRoot + "/sounds/" + std::to_string(shape.id) + ".wav"));
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.sampleRate, shape.rate);
        EXPECT_EQ(wav.bitsPerSample, shape.bits);
        ASSERT_GT(wav.samples.size(), shape.rate / 50);  // longer than 20 ms
        EXPECT_LT(wav.samples.size(), shape.rate);       // shorter than a second
        const int fullScale = shape.bits == 8 ? 127 : 32767;
        int peak = 0;
        for (int s : wav.samples) peak = std::max(peak, std::abs(s));
        EXPECT_LT(peak, fullScale * 7 / 10);
        EXPECT_GT(peak, fullScale / 5);  // audible
        EXPECT_EQ(wav.samples.front(), 0);
        EXPECT_EQ(wav.samples.back(), 0);
    }
}

}  // namespace
}  // namespace pw::tool
