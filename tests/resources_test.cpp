// Every embedded resource, read the way the game reads it, has the shape the
// game's layout and sounds rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/EmbeddedResourceStore.h"
#include "platform/TextFormat.h"
#include "resources/EmbeddedResources.h"
#include "resources/ResourceIds.h"

namespace pw {
namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct BitmapShape {
    int id;
    int width;
    int height;
    int bitsPerPixel;
    int faces;   // faces or frames side by side
    bool keyed;  // has transparent areas
};

const BitmapShape kBitmaps[] = {
    {205, 20, 20, 4, 1, false},   {300, 240, 320, 4, 1, false}, {301, 720, 320, 4, 3, true},
    {302, 20, 30, 4, 1, true},    {303, 20, 30, 4, 1, true},    {304, 240, 320, 4, 1, false},
    {305, 1110, 11, 4, 5, true},  {306, 60, 30, 4, 2, false},   {307, 20, 20, 4, 1, true},
    {308, 16, 20, 8, 1, true},    {309, 240, 75, 4, 1, false},  {310, 80, 20, 8, 2, false},
    {311, 240, 100, 4, 1, false}, {312, 40, 20, 4, 2, false},   {313, 20, 15, 4, 2, false},
    {314, 20, 15, 4, 2, false},   {315, 10, 10, 4, 1, true},
};

TEST(ResourcesTest, EveryBitmapHasItsCatalogueShape) {
    EmbeddedResourceStore store;
    for (const BitmapShape& shape : kBitmaps) {
        SCOPED_TRACE(shape.id);
        const EmbeddedResource* raw = FindEmbedded(EmbeddedKind::Bitmap, shape.id);
        ASSERT_NE(raw, nullptr);
        ASSERT_GE(raw->Size(), 54u);
        const uint8_t* p = raw->begin;
        EXPECT_EQ(std::memcmp(p, "BM", 2), 0);
        EXPECT_EQ(static_cast<int32_t>(Le32(p + 18)), shape.width);
        EXPECT_EQ(static_cast<int32_t>(Le32(p + 22)), shape.height);  // bottom-up: positive
        EXPECT_EQ(Le16(p + 28), shape.bitsPerPixel);
        EXPECT_EQ(Le32(p + 30), 0u) << "compressed";
        EXPECT_EQ(shape.width % shape.faces, 0) << "faces of unequal width";

        std::unique_ptr<Surface> picture = store.LoadBitmap(shape.id);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Width(), shape.width);
        EXPECT_EQ(picture->Height(), shape.height);
        size_t keyed = 0;
        for (Pixel px : picture->Pixels()) keyed += px == KeyColour;
        if (shape.keyed) {
            EXPECT_GT(keyed, 0u) << "transparent areas must use the key colour";
        }
    }
}

TEST(ResourcesTest, TransparentPicturesUseExactlyTheKeyColourAndNoNearMiss) {
    // A colour one step away from the key would show as a pink fringe.
    EmbeddedResourceStore store;
    for (const BitmapShape& shape : kBitmaps) {
        if (!shape.keyed) continue;
        SCOPED_TRACE(shape.id);
        std::unique_ptr<Surface> picture = store.LoadBitmap(shape.id);
        ASSERT_NE(picture, nullptr);
        for (Pixel px : picture->Pixels()) {
            if (px == KeyColour) continue;
            const int dr = int((px >> 16) & 0xFF) - 246, dg = int((px >> 8) & 0xFF) - 140,
                      db = int(px & 0xFF) - 197;
            ASSERT_GT(dr * dr + dg * dg + db * db, 3 * 24 * 24) << std::hex << px;
        }
        // The picture's border is transparent where the catalogue draws a
        // shape on key colour: the top-left corner is the usual place.
        EXPECT_EQ(picture->At(0, 0), KeyColour);
    }
}

struct SoundShape {
    int id;
    uint32_t rate;
    uint16_t bits;
};

const SoundShape kSounds[] = {
    {res::kStartSound, 11025, 8}, {res::kSwitchSound, 22050, 16}, {res::kClickSound, 11025, 16},
    {res::kPickSound, 8000, 8},   {res::kDropSound, 11025, 8},    {res::kLevelSound, 11025, 8},
};

TEST(ResourcesTest, EverySoundIsMonoPcmAtItsRateShortAndWhole) {
    EmbeddedResourceStore store;
    for (const SoundShape& shape : kSounds) {
        SCOPED_TRACE(shape.id);
        const SoundData* sound = store.FindSound(shape.id);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(store.FindSound(shape.id), sound) << "found once, then kept";
        ASSERT_GE(sound->size, 44u);
        const uint8_t* p = sound->bytes;
        ASSERT_EQ(std::memcmp(p, "RIFF", 4), 0);
        ASSERT_EQ(std::memcmp(p + 8, "WAVE", 4), 0);
        EXPECT_EQ(Le32(p + 4) + 8, sound->size);
        // Walk the chunks for "fmt " and "data".
        size_t at = 12;
        bool sawFormat = false;
        uint32_t dataBytes = 0;
        while (at + 8 <= sound->size) {
            const uint32_t length = Le32(p + at + 4);
            ASSERT_LE(at + 8 + length, sound->size);
            if (std::memcmp(p + at, "fmt ", 4) == 0) {
                sawFormat = true;
                EXPECT_EQ(Le16(p + at + 8), 1) << "PCM";
                EXPECT_EQ(Le16(p + at + 10), 1) << "mono";
                EXPECT_EQ(Le32(p + at + 12), shape.rate);
                EXPECT_EQ(Le16(p + at + 22), shape.bits);
                EXPECT_EQ(Le32(p + at + 16), shape.rate * shape.bits / 8) << "byte rate";
            } else if (std::memcmp(p + at, "data", 4) == 0) {
                dataBytes = length;
            }
            at += 8 + length + (length & 1);
        }
        EXPECT_TRUE(sawFormat);
        EXPECT_GT(dataBytes, 0u);
        EXPECT_LT(dataBytes, shape.rate * shape.bits / 8) << "longer than a second";
    }
}

TEST(ResourcesTest, StringsAndIconAreThere) {
    EmbeddedResourceStore store;
    EXPECT_EQ(store.LoadString(res::kWindowTitle, 100), u"Pivot Warden");
    EXPECT_EQ(store.LoadString(res::kWindowClass, 100), u"FULCRUMLY");
    EXPECT_EQ(store.LoadString(res::kVersionText, 20), u"v. 1.1");
    EXPECT_EQ(store.LoadString(res::kScoreLabel, 10), u"Score");
    const std::u16string notice = store.LoadString(res::kNoticeText, 20);
    EXPECT_FALSE(notice.empty());
    EXPECT_LT(notice.size(), 20u);
    // A buffer cuts the text to its size less the terminator.
    EXPECT_EQ(store.LoadString(res::kWindowTitle, 6), u"Pivot");
    EXPECT_TRUE(store.LoadString(9999, 100).empty());

    const EmbeddedResource* icon = FindEmbedded(EmbeddedKind::Icon, res::kAppIcon);
    ASSERT_NE(icon, nullptr);
    // The window's icon: a 32 x 32 picture whose key colour is transparent.
    const std::unique_ptr<Surface> picture = DecodeBmp(icon->begin, icon->Size());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 32);
    EXPECT_EQ(picture->Height(), 32);
    int keyed = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) keyed += picture->At(x, y) == KeyColour;
    EXPECT_GT(keyed, 0);
    EXPECT_LT(keyed, 32 * 32 / 2);
}

TEST(ResourcesTest, MissingBitmapIsNullNotACrash) {
    EmbeddedResourceStore store;
    EXPECT_EQ(store.LoadBitmap(12345), nullptr);
    EXPECT_EQ(store.FindSound(12345), nullptr);
    const uint8_t garbage[] = {'B', 'M', 0, 0, 0xFF, 0xFF, 1, 2, 3};
    EXPECT_EQ(DecodeBmp(garbage, sizeof garbage), nullptr);
    EXPECT_EQ(DecodeBmp(nullptr, 0), nullptr);
}

}  // namespace
}  // namespace pw
