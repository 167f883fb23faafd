// Images, backgrounds and animations: sizes taken from the pictures, frame
// timing against the tick count, runs, and what listeners hear in what order.
#include <gtest/gtest.h>

#include <algorithm>

#include "elements/Animation.h"
#include "elements/Background.h"
#include "elements/Image.h"
#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::Log;
using scenetest::RecordingAnimationListener;
using scenetest::SceneTest;

constexpr int kStrip3 = 1;  // three 10 x 8 frames, frame i tinted i + 1

class ImageTest : public SceneTest {};

TEST_F(ImageTest, TakesItsSizeFromThePictureAndShowsItUnchanged) {
    resources.AddBitmap(300, scenetest::Pattern(240, 320, 7));
    resources.AddBitmap(301, scenetest::Pattern(20, 30, 9));
    Image full(&screen, 300);
    EXPECT_EQ(full.GetBounds(), (Rect{0, 0, 240, 320}));
    EXPECT_TRUE(full.visible);
    EXPECT_FALSE(full.enabled);
    EXPECT_EQ(full.GetLayer(), 10);

    // Only the low 16 bits of the id name the picture.
    Image small(&screen, 0x10000 + 301);
    small.MoveTo(5, 7);
    EXPECT_EQ(small.GetBounds(), (Rect{5, 7, 25, 37}));
    EXPECT_EQ(small.GetSurface()->At(19, 29), Rgb(19, 29, 9));
}

TEST_F(ImageTest, ImagesOfOneBitmapShareOneDecodedPicture) {
    resources.AddBitmap(302, scenetest::Pattern(20, 30, 1));
    resources.AddBitmap(300, scenetest::Pattern(240, 320, 2));
    Image a(&screen, 302), b(&screen, 302);
    // Sized from the start, decoded only when first drawn, and then once.
    EXPECT_EQ(a.GetBounds(), (Rect{0, 0, 20, 30}));
    EXPECT_EQ(resources.bitmapLoads[302], 0);
    EXPECT_EQ(a.GetSurface(), b.GetSurface());
    EXPECT_EQ(resources.bitmapLoads[302], 1);
    {
        Image big(&screen, 300), same(&screen, 300);
        EXPECT_EQ(big.GetSurface(), same.GetSurface());
    }
    // A picture changed in the store is the one shown from then on.
    resources.AddBitmap(302, scenetest::Pattern(20, 30, 5));
    Image c(&screen, 302);
    EXPECT_EQ(c.GetSurface()->At(3, 4), Rgb(3, 4, 5));
    EXPECT_EQ(a.GetSurface()->At(3, 4), Rgb(3, 4, 1));
}

TEST_F(ImageTest, MissingPictureGivesAnEmptyImageThatPaintsNothing) {
    auto* image = new Image(&screen, 999);
    EXPECT_EQ(image->GetWidth(), 0);
    EXPECT_EQ(image->GetHeight(), 0);
    screen.AddElement(image);
    PaintAll();
    EXPECT_EQ(hp.window.Shown().At(0, 0), 0u);
}

TEST_F(ImageTest, BackgroundIsAScreenSizedTransparentCanvasUntilDrawnOn) {
    resources.AddBitmap(300, scenetest::Solid(240, 320, Rgb(0, 99, 0)));
    auto* under = new Image(&screen, 300);
    under->layer = 1;
    screen.AddElement(under);
    auto* canvas = new Background(&screen);
    EXPECT_EQ(canvas->GetBounds(), (Rect{0, 0, 240, 320}));
    EXPECT_FALSE(canvas->visible);
    const auto& pixels = canvas->GetSurface()->Pixels();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](Pixel p) { return p == KeyColour; }));

    canvas->SetVisible(true);
    canvas->Canvas().Set(3, 4, Rgb(1, 2, 3));
    screen.AddElement(canvas);
    PaintAll();
    EXPECT_EQ(hp.window.Shown().At(3, 4), Rgb(1, 2, 3));
    EXPECT_EQ(hp.window.Shown().At(4, 4), Rgb(0, 99, 0));
}

class AnimationTest : public SceneTest {
protected:
    AnimationTest() {
        Surface strip(30, 8);
        for (int i = 0; i < 3; ++i) strip.Fill(i * 10, 0, 10, 8, Rgb(0, 0, i + 1));
        strip.Set(25, 5, KeyColour);
        resources.AddBitmap(kStrip3, strip);
    }
    // A 3-frame animation at 4 frames per second (250 ms), on the screen.
    Animation* MakeAnimation() {
        auto* a = new Animation(&screen, kStrip3, 3, 4);
        a->AddAnimationListener(&listener);
        screen.AddElement(a);
        return a;
    }
    // Advances the clock past one frame interval and ticks the screen.
    void Step() {
        hp.clock.now += 251;
        screen.Tick(hp.clock.now);
    }
    RecordingAnimationListener listener{&log};
};

TEST_F(AnimationTest, ShowsEachFrameOfAStripWithSeeThroughMarginsOverTheScene) {
    // Three 6 x 5 frames, each a different dot or bar inside key colour.
    Surface strip = scenetest::Solid(18, 5, KeyColour);
    strip.Set(1, 1, Rgb(1, 0, 0));
    strip.Fill(6 + 2, 3, 3, 1, Rgb(2, 0, 0));
    strip.Set(12 + 4, 2, Rgb(3, 0, 0));
    resources.AddBitmap(60, strip);
    resources.AddBitmap(61, scenetest::Solid(240, 320, Rgb(0, 50, 0)));
    auto* under = new Image(&screen, 61);
    under->layer = 1;
    screen.background = under;
    screen.AddElement(under);
    auto* a = new Animation(&screen, 60, 3, 4);
    a->MoveTo(100, 200);
    a->SetVisible(true);
    screen.AddElement(a);
    EXPECT_EQ(a->GetBounds(), (Rect{100, 200, 106, 205}));
    for (int f = 0; f < 3; ++f) {
        a->SetFrame(f);
        PaintAll();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const Pixel p = strip.At(f * 6 + x, y);
                ASSERT_EQ(hp.window.Shown().At(100 + x, 200 + y), p == KeyColour ? Rgb(0, 50, 0) : p)
                    << "frame " << f << " at " << x << "," << y;
            }
    }
}

TEST_F(AnimationTest, MeasuresOneFrameOfTheStrip) {
    resources.AddBitmap(50, scenetest::Pattern(1110, 11, 0));
    resources.AddBitmap(51, scenetest::Pattern(720, 320, 0));
    Animation five(&screen, 50, 5, 6);
    EXPECT_EQ(std::pair(five.GetWidth(), five.GetHeight()), std::pair(222, 11));
    EXPECT_EQ(five.GetBounds().right, 222);
    Animation three(&screen, 51, 3, 6);
    EXPECT_EQ(std::pair(three.GetWidth(), three.GetHeight()), std::pair(240, 320));
    EXPECT_FALSE(three.visible);
}

TEST_F(AnimationTest, FrameAdvancesOnlyWhenStrictlyMoreThanTheIntervalHasPassed) {
    resources.AddBitmap(50, scenetest::Pattern(1110, 11, 0));
    Animation a(&screen, 50, 5, 6);  // 166 ms
    hp.clock.now = 1000;
    a.Start();
    a.Tick(1166);
    EXPECT_EQ(a.currentFrame, 0);
    EXPECT_EQ(a.lastFrameTime, 1000u);
    a.Tick(1167);
    EXPECT_EQ(a.currentFrame, 1);
    EXPECT_EQ(a.lastFrameTime, 1167u);
    // However late the tick, one frame at a time.
    a.Tick(9000);
    EXPECT_EQ(a.currentFrame, 2);
    // Across the wrap of the tick count.
    a.lastFrameTime = 0xFFFFFF00u;
    a.Tick(0x40);  // 320 ms later
    EXPECT_EQ(a.currentFrame, 3);
    screen.tickers.Remove(&a);
}

TEST_F(AnimationTest, SingleRunReportsFramesThenEndsHiddenAndOffTheTickList) {
    Animation* a = MakeAnimation();
    listener.onEvent = [&] {
        if (log.back() == "ended 0") {
            EXPECT_FALSE(a->visible);
            EXPECT_FALSE(screen.tickers.Contains(a));
        }
    };
    hp.clock.now = 500;
    a->Start();
    EXPECT_TRUE(a->visible);
    EXPECT_EQ(log, (Log{"started", "frame 0"}));
    for (int i = 0; i < 5; ++i) Step();
    EXPECT_EQ(log, (Log{"started", "frame 0", "frame 1", "frame 2", "ended 0"}));
    EXPECT_EQ(a->currentFrame, 0);
    EXPECT_EQ(a->loopsDone, 0);

    // Started again it runs from frame 0 once more.
    log.clear();
    a->Start();
    EXPECT_TRUE(a->visible);
    for (int i = 0; i < 3; ++i) Step();
    EXPECT_EQ(log, (Log{"started", "frame 0", "frame 1", "frame 2", "ended 0"}));
}

TEST_F(AnimationTest, TwoRunsWrapSilentlyOnceAndEndAfterTheSecond) {
    Animation* a = MakeAnimation();
    a->loopCount = 2;
    a->Start();
    for (int i = 0; i < 3; ++i) Step();
    EXPECT_EQ(log, (Log{"started", "frame 0", "frame 1", "frame 2"}));
    EXPECT_EQ(a->loopsDone, 1);
    EXPECT_TRUE(a->visible);
    for (int i = 0; i < 3; ++i) Step();
    EXPECT_EQ(log, (Log{"started", "frame 0", "frame 1", "frame 2", "frame 1", "frame 2", "ended 0"}));
    EXPECT_FALSE(screen.tickers.Contains(a));
}

TEST_F(AnimationTest, EndlessAnimationReportsEveryWrapAndKeepsRunning) {
    Animation* a = MakeAnimation();
    a->loopCount = -1;
    a->autoShowHide = false;  // visibility is then the owner's affair
    a->Start();
    EXPECT_FALSE(a->visible);
    a->SetVisible(true);
    for (int i = 0; i < 6; ++i) Step();
    EXPECT_EQ(std::count(log.begin(), log.end(), "ended 0"), 2);
    EXPECT_TRUE(screen.tickers.Contains(a));
    EXPECT_TRUE(a->visible);
}

TEST_F(AnimationTest, StartingTwiceListsItOnceAndTellsListenersTwice) {
    Animation* a = MakeAnimation();
    a->Start();
    Step();
    hp.clock.now += 10;
    a->Start();
    EXPECT_EQ(screen.tickers.count, 1);
    EXPECT_EQ(a->lastFrameTime, hp.clock.now);
    EXPECT_EQ(a->currentFrame, 1);  // the frame it shows, not 0
    EXPECT_EQ(log, (Log{"started", "frame 0", "frame 1", "started", "frame 1"}));
}

TEST_F(AnimationTest, SetFrameClampsAndShowsThatFrameKeyedOverWhatIsBelow) {
    resources.AddBitmap(300, scenetest::Solid(240, 320, Rgb(0, 99, 0)));
    auto* under = new Image(&screen, 300);
    under->layer = 1;
    screen.AddElement(under);
    Animation* a = MakeAnimation();
    a->SetVisible(true);
    a->MoveTo(50, 60);
    a->SetFrame(-3);
    EXPECT_EQ(a->currentFrame, 0);
    a->SetFrame(3);
    EXPECT_EQ(a->currentFrame, 2);
    EXPECT_TRUE(log.empty());
    PaintAll();
    const Surface& shown = hp.window.Shown();
    EXPECT_EQ(shown.At(50, 60), Rgb(0, 0, 3));
    EXPECT_EQ(shown.At(59, 67), Rgb(0, 0, 3));
    EXPECT_EQ(shown.At(55, 65), Rgb(0, 99, 0));  // the strip's key pixel in frame 2
    EXPECT_EQ(shown.At(60, 60), Rgb(0, 99, 0));  // one frame wide
    a->SetFrame(1);
    PaintAll();
    EXPECT_EQ(shown.At(55, 65), Rgb(0, 0, 2));
}

TEST_F(AnimationTest, RemovingARunningAnimationStopsItsTicks) {
    Animation* a = MakeAnimation();
    a->Start();
    screen.RemoveElement(a, true);
    Step();
    EXPECT_EQ(log, (Log{"started", "frame 0"}));
}

}  // namespace
}  // namespace pw
