// The off-screen pictures everything is composed in: copies and fills clip
// to both pictures whatever they are asked, and keyed copies skip the key.
#include <gtest/gtest.h>

#include <climits>

#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::Pattern;
using scenetest::Solid;

TEST(SurfaceTest, CopiesClipToBothPicturesOnEverySide) {
    const Surface src = Pattern(10, 10, 5);
    for (auto [dx, dy, sx, sy] : {std::tuple{-5, -5, 0, 0},
                                  {15, 15, 0, 0},
                                  {0, 0, -3, -4},
                                  {0, 0, 7, 8},
                                  {INT_MIN, 0, 0, 0},
                                  {INT_MAX, INT_MAX, 0, 0},
                                  {-20, -20, -20, -20}}) {
        Surface dst = Solid(20, 20, Rgb(1, 1, 1));
        CopyOpaque(dst, dx, dy, INT_MAX, INT_MAX, src, sx, sy);
        CopyKeyed(dst, dx, dy, 10, 10, src, sx, sy);
        // Whatever landed came from the source at the matching offset.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const Pixel p = dst.At(x, y);
                if (p == Rgb(1, 1, 1)) continue;
                const int64_t fx = int64_t(x) - dx + sx, fy = int64_t(y) - dy + sy;
                ASSERT_TRUE(fx >= 0 && fy >= 0 && fx < 10 && fy < 10) << x << "," << y;
                ASSERT_EQ(p, src.At(int(fx), int(fy)));
            }
    }
    Surface dst = Solid(20, 20, Rgb(1, 1, 1));
    CopyOpaque(dst, -5, -5, 10, 10, src, 0, 0);
    EXPECT_EQ(dst.At(0, 0), src.At(5, 5));
    EXPECT_EQ(dst.At(4, 4), src.At(9, 9));
    EXPECT_EQ(dst.At(5, 5), Rgb(1, 1, 1));
}

TEST(SurfaceTest, KeyedCopyLeavesTheDestinationWhereTheSourceIsKey) {
    Surface src = Solid(4, 1, KeyColour);
    src.Set(1, 0, Rgb(9, 9, 9));
    src.Set(2, 0, Rgb(246, 140, 196));  // one off the key: copied
    Surface dst = Solid(4, 1, Rgb(0, 50, 0));
    CopyKeyed(dst, 0, 0, 4, 1, src, 0, 0);
    EXPECT_EQ(dst.At(0, 0), Rgb(0, 50, 0));
    EXPECT_EQ(dst.At(1, 0), Rgb(9, 9, 9));
    EXPECT_EQ(dst.At(2, 0), Rgb(246, 140, 196));
    EXPECT_EQ(dst.At(3, 0), Rgb(0, 50, 0));
}

TEST(SurfaceTest, FillsBesideOrFarBeyondThePictureTouchNothing) {
    Surface s = Solid(10, 10, Rgb(1, 1, 1));
    s.Fill(20, 0, 5, 5, Rgb(2, 2, 2));
    s.Fill(0, 20, 5, 5, Rgb(2, 2, 2));
    s.Fill(INT_MAX - 1, 0, INT_MAX, 5, Rgb(2, 2, 2));
    s.Fill(-5, -5, 3, 3, Rgb(2, 2, 2));
    for (Pixel p : s.Pixels()) ASSERT_EQ(p, Rgb(1, 1, 1));
    s.Fill(8, 8, INT_MAX, INT_MAX, Rgb(3, 3, 3));
    EXPECT_EQ(s.At(9, 9), Rgb(3, 3, 3));
    EXPECT_EQ(s.At(7, 9), Rgb(1, 1, 1));
}

}  // namespace
}  // namespace pw
