// Text from the embedded glyph atlas: what it does with characters, heights
// and atlas data it was not made for.
#include <gtest/gtest.h>

#include <vector>

#include "platform/AtlasTextRenderer.h"
#include "resources/EmbeddedResources.h"

namespace pw {
namespace {

constexpr Pixel kInk = Rgb(20, 30, 40);

Surface Drawn(TextRenderer& r, const std::u16string& text, int32_t height) {
    const Size size = r.Measure(BoldSwissFont(height), text);
    Surface s(size.width, size.height);
    r.Draw(BoldSwissFont(height), text, kInk, KeyColour, s);
    return s;
}

bool Same(const Surface& a, const Surface& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
}

TEST(AtlasTextRendererTest, CharactersWithoutGlyphsShowAsQuestionMarks) {
    AtlasTextRenderer r;
    EXPECT_TRUE(Same(Drawn(r, u"4x2", 16), Drawn(r, u"4?2", 16)));
    EXPECT_TRUE(Same(Drawn(r, u"\u4E2D\U0001F600", 18), Drawn(r, u"???", 18)));  // a surrogate pair is two
    // The text ends at its first null; byte-order marks take no room.
    EXPECT_TRUE(Same(Drawn(r,
                           std::u16string(u"12\0"
                                          u"34",
                                          5),
                           16),
                     Drawn(r, u"12", 16)));
    EXPECT_TRUE(Same(Drawn(r, u"\uFEFF12", 16), Drawn(r, u"12", 16)));
}

TEST(AtlasTextRendererTest, HeightsOutsideTheAtlasUseTheNearestSmallerFace) {
    AtlasTextRenderer r;
    const std::u16string text = u"Score 1234";
    const int32_t w13 = r.Measure(BoldSwissFont(13), text).width;
    EXPECT_EQ(r.Measure(BoldSwissFont(15), text).width, w13);
    EXPECT_EQ(r.Measure(BoldSwissFont(15), text).height, 15);
    EXPECT_EQ(r.Measure(BoldSwissFont(5), text).width, r.Measure(BoldSwissFont(12), text).width);
    EXPECT_EQ(r.Measure(BoldSwissFont(100000), text).height, 200);
    // Below zero asks for the same cell; zero is the default of 16.
    EXPECT_TRUE(Same(Drawn(r, text, -18), Drawn(r, text, 18)));
    EXPECT_TRUE(Same(Drawn(r, text, 0), Drawn(r, text, 16)));
    EXPECT_EQ(r.Measure(BoldSwissFont(INT32_MIN), text).height, 200);
}

TEST(AtlasTextRendererTest, TextCentresInALargerSurfaceAndClipsInASmallerOne) {
    AtlasTextRenderer r;
    const Surface exact = Drawn(r, u"75", 18);
    Surface wide(exact.Width() + 6, 24);
    r.Draw(BoldSwissFont(18), u"75", kInk, KeyColour, wide);
    for (int y = 0; y < wide.Height(); ++y)
        for (int x = 0; x < wide.Width(); ++x) {
            const int ex = x - 3, ey = y - 3;
            const bool inside = ex >= 0 && ey >= 0 && ex < exact.Width() && ey < exact.Height();
            ASSERT_EQ(wide.At(x, y), inside ? exact.At(ex, ey) : KeyColour) << x << "," << y;
        }
    Surface tiny(3, 2);
    r.Draw(BoldSwissFont(18), u"75", kInk, KeyColour, tiny);  // writes only its 6 pixels
    for (Pixel p : tiny.Pixels()) EXPECT_TRUE(p == kInk || p == KeyColour);
}

TEST(AtlasTextRendererTest, ACutOrDamagedAtlasGivesNoFacesAndDrawsNothing) {
    const EmbeddedResource* file = FindEmbedded(EmbeddedKind::GlyphAtlas, 1);
    ASSERT_NE(file, nullptr);
    const std::vector<uint8_t> bytes(file->begin, file->end);
    ASSERT_FALSE(GlyphAtlas::Parse(bytes.data(), bytes.size()).Empty());
    for (size_t n = 0; n < bytes.size(); ++n) ASSERT_TRUE(GlyphAtlas::Parse(bytes.data(), n).Empty()) << n;
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_TRUE(GlyphAtlas::Parse(longer.data(), longer.size()).Empty());
    std::vector<uint8_t> otherVersion = bytes;
    otherVersion[4] = 2;
    EXPECT_TRUE(GlyphAtlas::Parse(otherVersion.data(), otherVersion.size()).Empty());

    const GlyphAtlas none = GlyphAtlas::Parse(nullptr, 0);
    AtlasTextRenderer r(none);
    EXPECT_EQ(r.Measure(BoldSwissFont(16), u"12").width, 0);
    Surface s(10, 16);
    r.Draw(BoldSwissFont(16), u"12", kInk, KeyColour, s);
    for (Pixel p : s.Pixels()) ASSERT_EQ(p, KeyColour);
}

}  // namespace
}  // namespace pw
