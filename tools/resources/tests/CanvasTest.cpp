#include <gtest/gtest.h>

#include "BalanceArt.h"
#include "Canvas.h"

namespace pw::tool {
namespace {

const Rgb kInk{10, 20, 30};

int CountInk(const Canvas& c) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) n += c.At(x, y) == kInk;
    return n;
}

TEST(CanvasTest, PolygonCoversPixelsWhoseCentresAreInside) {
    Canvas c(10, 10);
    c.FillPolygon({{2, 2}, {6, 2}, {6, 5}, {2, 5}}, kInk);  // a 4 x 3 rectangle on pixel edges
    EXPECT_EQ(CountInk(c), 12);
    EXPECT_EQ(c.At(2, 2), kInk);
    EXPECT_EQ(c.At(5, 4), kInk);
    EXPECT_TRUE(c.IsKey(6, 4));
    EXPECT_TRUE(c.IsKey(5, 5));
}

TEST(CanvasTest, ShapesLeaveOnlyTheirColourOrKey) {
    Canvas c(20, 20);
    c.FillCircle(10, 10, 6.3, kInk);
    c.ThickLine({1, 18}, {18, 2}, 2.5, kInk);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_TRUE(c.IsKey(x, y) || c.At(x, y) == kInk);
    // A circle centred on a pixel corner is symmetric both ways.
    Canvas round(20, 20);
    round.FillCircle(10, 10, 6.3, kInk);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(round.IsKey(x, y), round.IsKey(19 - x, y)) << x << "," << y;
            EXPECT_EQ(round.IsKey(x, y), round.IsKey(x, 19 - y)) << x << "," << y;
        }
}

TEST(CanvasTest, EdgeAndOutlineFollowTheShapeBorder) {
    Canvas c(7, 7);
    c.FillRect(2, 2, 3, 3, kInk);
    Canvas edged = c;
    const Rgb edge{200, 0, 0};
    edged.EdgeShapes(edge);
    EXPECT_EQ(edged.At(2, 2), edge);
    EXPECT_EQ(edged.At(3, 3), kInk);  // the centre keeps its colour
    EXPECT_TRUE(edged.IsKey(1, 3));
    Canvas outlined = c;
    outlined.OutlineShapes(edge);
    EXPECT_EQ(outlined.At(1, 3), edge);
    EXPECT_TRUE(outlined.IsKey(1, 1));  // diagonal neighbours stay clear
    EXPECT_EQ(outlined.At(2, 2), kInk);
}

TEST(CanvasTest, DrawingOutsideTheCanvasIsClipped) {
    Canvas c(4, 4);
    c.FillRect(-5, -5, 7, 7, kInk);
    c.Line(-3, 3, 10, 3, kInk);
    EXPECT_EQ(CountInk(c), 8);  // the 2 x 2 corner and the four pixels of row 3
}

TEST(CanvasTest, PanProfileHasAFlatLipAndNarrowsDownwards) {
    const std::vector<int> profile = PanProfile(39, 11);
    ASSERT_EQ(profile.size(), 11u);
    EXPECT_EQ(profile[0], 39);
    EXPECT_EQ(profile[1], 39);
    for (size_t i = 2; i < profile.size(); ++i) EXPECT_LE(profile[i], profile[i - 1]);
    EXPECT_LT(profile.back(), 25);
}

}  // namespace
}  // namespace pw::tool
