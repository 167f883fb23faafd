// What the desktop backend hands to the machine: screenshots as PNG files
// and sounds on the audio device.
#include <gtest/gtest.h>
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <cstdlib>
#include <string>

#include "platform/EmbeddedResourceStore.h"
#include "platform/PngWriter.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "scene_test_support.h"

namespace pw {
namespace {

TEST(PngWriterTest, DecodesToTheSamePixels) {
    const Surface picture = scenetest::Pattern(37, 23, 11);
    const std::vector<uint8_t> png = EncodePng(picture);
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(w, 37);
    ASSERT_EQ(h, 23);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const stbi_uc* p = rgb + (y * w + x) * 3;
            ASSERT_EQ(Rgb(p[0], p[1], p[2]), picture.At(x, y)) << x << "," << y;
        }
    stbi_image_free(rgb);
    EXPECT_TRUE(EncodePng(Surface(0, 0)).empty());
}

// The tests run with SDL's dummy audio driver, a device that plays in real time.
TEST(SdlSoundPlayerTest, ANewSoundCutsOffTheOnePlaying) {
    EmbeddedResourceStore resources;
    const SoundData* longest = nullptr;
    const SoundData* shortest = nullptr;
    SdlSoundPlayer player;
    // Asked for before the device is surely open: played once it is.
    for (int id : {20003, 20004, 20005, 20007, 20008, 20009}) {
        const SoundData* sound = resources.FindSound(id);
        ASSERT_NE(sound, nullptr) << id;
        ASSERT_GT(player.ConvertedBytes(sound), 0u) << id;
        if (longest == nullptr || player.ConvertedBytes(sound) > player.ConvertedBytes(longest))
            longest = sound;
        if (shortest == nullptr || player.ConvertedBytes(sound) < player.ConvertedBytes(shortest))
            shortest = sound;
    }
    player.Play(longest);
    ASSERT_TRUE(player.WaitForDevice());
    EXPECT_GT(player.QueuedBytes(), 0u);
    player.Play(shortest);
    EXPECT_LE(player.QueuedBytes(), player.ConvertedBytes(shortest));
    EXPECT_LT(player.ConvertedBytes(shortest), player.ConvertedBytes(longest));
}

TEST(SdlSoundPlayerTest, WithoutAnAudioDeviceTheGameIsSilent) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        EmbeddedResourceStore resources;
        SdlSoundPlayer player;
        player.Play(resources.FindSound(20003));
        EXPECT_FALSE(player.WaitForDevice());
        player.Play(resources.FindSound(20004));
        EXPECT_EQ(player.QueuedBytes(), 0u);
    }
    if (before != nullptr)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace pw
