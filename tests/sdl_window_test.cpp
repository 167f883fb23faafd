// The desktop window's geometry and stylus: the display fills a window of
// any size (whole factors, or scaled down below one), window pixels map to
// display pixels the same way for painting and the pointer, presses in the
// black bars do nothing, and drags with Shift or Ctrl held are no drags.
// The bar goes below or beside the picture, never over it nor at its cost,
// and its controls are found where they are drawn.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AtlasTextRenderer.h"
#include "platform/sdl/BarPlacement.h"
#include "platform/sdl/PointerInput.h"
#include "platform/sdl/WindowLayout.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

constexpr int W = kDisplayWidth, H = kDisplayHeight;

TEST(WindowLayoutTest, EverySizeFitsThePictureInsideWithItsShape) {
    const std::pair<int, int> sizes[] = {{480, 640}, {240, 320}, {1024, 768}, {480, 300}, {100, 700},
                                         {239, 320}, {1, 1},     {3000, 90},  {0, 0},     {-5, 40}};
    for (auto [ww, wh] : sizes) {
        SCOPED_TRACE(std::to_string(ww) + "x" + std::to_string(wh));
        const WindowLayout l = WindowLayout::Fit(ww, wh);
        EXPECT_GE(l.Left(), 0);
        EXPECT_GE(l.Top(), 0);
        EXPECT_LE(l.Left() + l.Width(), std::max(ww, 0));
        EXPECT_LE(l.Top() + l.Height(), std::max(wh, 0));
        if (ww >= W && wh >= H) {
            // A whole factor, as large as fits.
            const int k = std::min(ww / W, wh / H);
            EXPECT_EQ(l.Width(), W * k);
            EXPECT_EQ(l.Height(), H * k);
        } else if (ww > 0 && wh > 0) {
            // Scaled down: one side fills the window, the shape is kept.
            EXPECT_TRUE(l.Width() == ww || l.Height() == wh);
            EXPECT_LE(std::abs(l.Width() * H - l.Height() * W), std::max(W, H));
        }
    }
}

TEST(WindowLayoutTest, PaintingAndPointerShareOneNearestNeighbourMapping) {
    for (auto [ww, wh] : {std::pair{480, 640}, {1024, 768}, {480, 300}, {150, 500}, {241, 321}}) {
        SCOPED_TRACE(std::to_string(ww) + "x" + std::to_string(wh));
        const WindowLayout l = WindowLayout::Fit(ww, wh);
        EXPECT_EQ(l.ColumnStart(0), l.Left());
        EXPECT_EQ(l.ColumnStart(W), l.Left() + l.Width());
        EXPECT_EQ(l.RowStart(H), l.Top() + l.Height());
        // Each picture column shows the display column whose span holds it,
        // and the pointer there lands on that display column.
        for (int x = 0; x < W; ++x)
            for (int c = l.ColumnStart(x); c < l.ColumnStart(x + 1); ++c) {
                ASSERT_EQ(l.SourceColumn(c), x);
                int px = -1, py = -1;
                l.ToDisplay(c, l.Top(), px, py);
                ASSERT_EQ(px, x);
            }
        for (int y = 0; y < H; ++y)
            for (int r = l.RowStart(y); r < l.RowStart(y + 1); ++r) ASSERT_EQ(l.SourceRow(r), y);
        // Scaled up by a whole factor, every display pixel is shown.
        if (l.Width() >= W) {
            for (int x = 0; x < W; ++x) ASSERT_LT(l.ColumnStart(x), l.ColumnStart(x + 1));
        }
    }
    int x = -1, y = -1;
    WindowLayout::Fit(480, 640).ToDisplay(479, 639, x, y);
    EXPECT_EQ(x, 239);
    EXPECT_EQ(y, 319);
}

TEST(BarPlacementTest, TheBarTakesTheSideThatLeavesThePictureLargestAndNeverCostsItAFactor) {
    struct Case {
        int w, h;
        bool shown;
        StatusBar::Side side;
        int factor;
    };
    const Case cases[] = {
        {480, 716, true, StatusBar::Side::Below, 2},     // the window as it opens at scale 2
        {1024, 768, true, StatusBar::Side::Below, 2},    // both sides give 2: below
        {1280, 1024, true, StatusBar::Side::Beside, 3},  // below would give only 2
        {480, 640, false, StatusBar::Side::Below, 2},    // a bar would halve the picture
        {240, 320, false, StatusBar::Side::Below, 1},   {100, 100, false, StatusBar::Side::Below, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const BarPlacement p = BarPlacement::Fit(c.w, c.h, true);
        EXPECT_EQ(p.barShown, c.shown);
        EXPECT_FALSE(BarPlacement::Fit(c.w, c.h, false).barShown);
        const WindowLayout& l = p.picture;
        if (c.factor > 0) {
            EXPECT_EQ(l.Width(), W * c.factor);
        }
        if (!p.barShown) continue;
        EXPECT_EQ(p.side, c.side);
        EXPECT_EQ(p.factor, c.factor);
        const Rect& b = p.bar;
        EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= c.w && b.bottom <= c.h);
        const bool apart = b.top >= l.Top() + l.Height() || b.left >= l.Left() + l.Width();
        EXPECT_TRUE(apart) << "the bar covers the picture";
        const Size size = c.side == StatusBar::Side::Below ? Size{W, StatusBar::kBelowHeight}
                                                           : Size{StatusBar::kBesideWidth, H};
        EXPECT_EQ(b.right - b.left, size.width * c.factor);
        EXPECT_EQ(b.bottom - b.top, size.height * c.factor);
    }
}

TEST(StatusBarTest, ControlsAreFoundWhereDrawnAndWhatItShowsChangesItsPicture) {
    AtlasTextRenderer text;
    for (StatusBar::Side side : {StatusBar::Side::Below, StatusBar::Side::Beside}) {
        StatusBar bar(text, side);
        bar.SetPlace(u"Level 1");
        const Surface level1 = bar.Picture();
        const std::pair<BarControl, Key> controls[] = {
            {BarControl::Sound, Key::M}, {BarControl::HowToPlay, Key::F1}, {BarControl::Progress, Key::P}};
        for (auto [control, key] : controls) {
            const Rect r = bar.ControlArea(control);
            ASSERT_LT(r.left, r.right);
            EXPECT_TRUE(r.left > 0 && r.top > 0 && r.right < level1.Width() && r.bottom < level1.Height());
            EXPECT_EQ(bar.ControlAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), control);
            EXPECT_EQ(bar.ControlAt(r.left - 1, r.top), BarControl::None);
            EXPECT_EQ(StatusBar::KeyOf(control), key);
            // Its label is lettered on the button.
            bool lettered = false;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) lettered |= level1.At(x, y) == StatusBar::kLetters;
            EXPECT_TRUE(lettered);
        }
        EXPECT_FALSE(bar.SetPlace(u"Level 1")) << "nothing changed";
        EXPECT_TRUE(bar.SetPlace(u"Level 8"));
        EXPECT_NE(bar.Picture().Pixels(), level1.Pixels());
        // A caption stands in for the place while it lasts.
        const Surface level8 = bar.Picture();
        EXPECT_TRUE(bar.SetCaption(u"Type the hidden number"));
        EXPECT_NE(bar.Picture().Pixels(), level8.Pixels());
        EXPECT_FALSE(bar.SetPlace(u"Level 8"));
        EXPECT_TRUE(bar.SetCaption(u""));
        EXPECT_EQ(bar.Picture().Pixels(), level8.Pixels());
        // Sound off and a focused control show.
        EXPECT_TRUE(bar.SetSound(false));
        const Surface muted = bar.Picture();
        EXPECT_NE(muted.Pixels(), level8.Pixels());
        EXPECT_TRUE(bar.SetFocus(BarControl::Progress));
        const Rect p = bar.ControlArea(BarControl::Progress);
        EXPECT_EQ(bar.Picture().At(p.left - 1, p.top - 1), StatusBar::kFocus);
        EXPECT_EQ(muted.At(p.left - 1, p.top - 1), StatusBar::kBackground);
    }
}

class PointerInputTest : public ::testing::Test {
protected:
    // 1024 x 768: scaled by 2 to 480 x 640 at (272, 64), bars left and right.
    const WindowLayout layout = WindowLayout::Fit(1024, 768);
    PointerInput input;
    WindowEvent out;
};

TEST_F(PointerInputTest, APressInTheBarsDoesNothingNorDoItsMovesAndRelease) {
    ASSERT_EQ(layout.Left(), 272);
    EXPECT_FALSE(input.Press(layout, 100, 700, out));
    EXPECT_FALSE(input.Move(layout, 400, 300, true, false, out)) << "dragged into the picture";
    EXPECT_FALSE(input.Release(layout, 400, 300, out));
    // The next press inside works as ever.
    ASSERT_TRUE(input.Press(layout, 272 + 60, 64 + 590, out));
    EXPECT_EQ(out.type, WindowEvent::Type::PenDown);
    EXPECT_EQ(out.x, 30);
    EXPECT_EQ(out.y, 295);
}

TEST_F(PointerInputTest, APressInsideStaysOnTheScreenWhereverItGoes) {
    ASSERT_TRUE(input.Press(layout, 272, 64, out));
    EXPECT_EQ(out.x, 0);
    EXPECT_EQ(out.y, 0);
    ASSERT_TRUE(input.Move(layout, 1000, 5, true, false, out));
    EXPECT_EQ(out.type, WindowEvent::Type::PenMove);
    EXPECT_TRUE(out.primaryOnly);
    EXPECT_EQ(out.x, 239);
    EXPECT_EQ(out.y, 0);
    ASSERT_TRUE(input.Release(layout, 5, 767, out));
    EXPECT_EQ(out.type, WindowEvent::Type::PenUp);
    EXPECT_EQ(out.x, 0);
    EXPECT_EQ(out.y, 319);
}

TEST_F(PointerInputTest, OnlyAMoveWithThePrimaryButtonAloneAndNoShiftOrCtrlIsADrag) {
    ASSERT_TRUE(input.Press(layout, 400, 400, out));
    ASSERT_TRUE(input.Move(layout, 410, 400, true, true, out));
    EXPECT_FALSE(out.primaryOnly) << "Shift or Ctrl held";
    ASSERT_TRUE(input.Move(layout, 410, 400, false, false, out));
    EXPECT_FALSE(out.primaryOnly) << "another button held too";
    ASSERT_TRUE(input.Move(layout, 410, 400, true, false, out));
    EXPECT_TRUE(out.primaryOnly);
}

// Without a display SDL would fall back to drawing into memory: the game must
// say so in one line and stop, before it claims to be the running copy.
TEST(NoDisplayTest, IsRefusedWithOneLineAndNoLockHeld) {
    TempFolder folder;
    for (const std::string environment :
         {"env -u DISPLAY -u WAYLAND_DISPLAY", "env DISPLAY=:9999 WAYLAND_DISPLAY=nowhere",
          "env DISPLAY=garbage", "env SDL_VIDEODRIVER=dummy"}) {
        SCOPED_TRACE(environment);
        const std::string command = "cd '" + folder.path + "' && " + environment + " XDG_RUNTIME_DIR='" +
                                    folder.path + "/run' XDG_CONFIG_HOME='" + folder.path +
                                    "/config' timeout 20 '" + PW_EXECUTABLE + "' 2> stderr.txt";
        std::filesystem::create_directories(folder.path + "/run");
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 0);
        EXPECT_NE(WEXITSTATUS(status), 124) << "still running after 20 s";
        std::stringstream message;
        message << std::ifstream(folder.path + "/stderr.txt").rdbuf();
        const std::string text = message.str();
        EXPECT_NE(text.find("display"), std::string::npos) << text;
        // One line of the game's own (a sanitizer run may add its report).
        EXPECT_EQ(text.rfind("pivotwarden: ", 0), 0u) << text;
        EXPECT_EQ(text.find("\npivotwarden"), std::string::npos) << text;
        EXPECT_NE(text.find('\n'), std::string::npos) << text;
        EXPECT_EQ(text.substr(0, text.find('\n')).find("display"), text.find("display")) << text;
        EXPECT_FALSE(std::filesystem::exists(folder.path + "/run/pivotwarden")) << "no lock taken";
    }
}

}  // namespace
}  // namespace pw
