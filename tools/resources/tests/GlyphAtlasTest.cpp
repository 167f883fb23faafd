// The committed glyph atlas is exactly what the tool makes from the committed font and string table, so
// a change to either that is not followed by remaking the atlas fails here.
#include <gtest/gtest.h>

#include <string>

#include "FileReader.h"
#include "GlyphAtlasMaker.h"

namespace pw::tool {
namespace {

const std::string kRoot = PW_RESOURCES_DIR;

TEST(GlyphAtlasTest, CommittedAtlasIsWhatTheToolMakes) {
    std::vector<AtlasFace> faces;
    for (int cell : GameCellHeights())
        faces.push_back(MakeAtlasFace(kRoot + "/fonts/DejaVuSansCondensed-Bold.ttf", cell));
    const std::vector<uint8_t> made = EncodeGlyphAtlas(faces);
    EXPECT_TRUE(made == test::ReadBytes(kRoot + "/glyphs/atlas.bin"))
        << "remake the resources: the atlas no longer matches the font or the string table";
}

// The level number in the options panel is drawn at 12 pixels: its 8 has rounded corners on the left,
// where a B is straight, and its picture stays inside the box the text is measured with.
TEST(GlyphAtlasTest, TwelvePixelEightIsRound) {
    const AtlasFace face = MakeAtlasFace(kRoot + "/fonts/DejaVuSansCondensed-Bold.ttf", 12);
    const GlyphImage* eight = nullptr;
    for (const GlyphImage& g : face.glyphs)
        if (g.code == U'8') eight = &g;
    ASSERT_NE(eight, nullptr);
    ASSERT_GT(eight->width, 2);
    ASSERT_GT(eight->rows, 2);
    auto ink = [&](int x, int y) { return eight->ink[static_cast<size_t>(y) * eight->width + x] != 0; };
    EXPECT_FALSE(ink(0, 0));
    EXPECT_FALSE(ink(0, eight->rows - 1));
    EXPECT_TRUE(ink(0, 1));
    EXPECT_GE(eight->left, eight->boxLeft);
    EXPECT_LE(eight->top, eight->boxTop);
    EXPECT_LE(eight->left + eight->width, eight->boxLeft + eight->boxWidth);
    EXPECT_GE(eight->top - eight->rows, eight->boxTop - eight->boxRows);
}

}  // namespace
}  // namespace pw::tool
