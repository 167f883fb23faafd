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

}  // namespace
}  // namespace pw::tool
