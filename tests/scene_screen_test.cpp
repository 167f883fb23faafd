// The screen: layer order, stylus routing with capture, the dirty rectangle,
// the repaint throttle, and the tick walk that elements may change under it.
#include <gtest/gtest.h>

#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::Log;
using scenetest::Probe;
using scenetest::SceneTest;

class ScreenTest : public SceneTest {
protected:
    Probe* Add(const std::string& name, int32_t x, int32_t y, int32_t w, int32_t h, int32_t layer = 10,
               Pixel colour = Rgb(10, 20, 30)) {
        auto* probe = new Probe(&screen, &log, name, w, h, colour);
        probe->x = x;
        probe->y = y;
        probe->layer = layer;
        screen.AddElement(probe);
        return probe;
    }
    std::vector<Figure*> Order() const {
        std::vector<Figure*> out;
        for (auto* n = screen.elements.head; n != nullptr; n = n->next) out.push_back(n->item);
        return out;
    }
};

TEST_F(ScreenTest, ElementsAreSortedByLayerAndLaterOnesGoBelowTheirEquals) {
    Probe* top = Add("top", 0, 0, 5, 5, 30);
    Probe* first = Add("first", 0, 0, 5, 5, 10);
    Probe* bottom = Add("bottom", 0, 0, 5, 5, 1);
    Probe* second = Add("second", 0, 0, 5, 5, 10);
    EXPECT_EQ(Order(), (std::vector<Figure*>{bottom, second, first, top}));

    // Re-sorting after a layer change; an element not on the screen stays off.
    first->SetLayer(40);
    EXPECT_EQ(Order(), (std::vector<Figure*>{bottom, second, top, first}));
    Probe loose(&screen, &log, "loose", 5, 5);
    loose.SetLayer(20);
    EXPECT_EQ(screen.elements.count, 4);
}

TEST_F(ScreenTest, EqualLayersPaintAndHitTheEarlierElementOnTop) {
    Probe* earlier = Add("earlier", 10, 10, 20, 20, 10, Rgb(200, 0, 0));
    Add("later", 15, 15, 20, 20, 10, Rgb(0, 0, 200));
    PaintAll();
    EXPECT_EQ(hp.window.Shown().At(20, 20), Rgb(200, 0, 0));
    EXPECT_EQ(hp.window.Shown().At(34, 34), Rgb(0, 0, 200));

    screen.OnPenDown(20, 20);
    EXPECT_EQ(log, (Log{"earlier down 20,20"}));
    EXPECT_EQ(screen.captured, earlier);
}

TEST_F(ScreenTest, HitsIncludeTheRightAndBottomEdges) {
    Add("box", 10, 10, 20, 20);
    for (auto [x, y] : {std::pair{30, 30}, {10, 10}, {31, 30}, {30, 31}, {9, 10}, {10, 9}})
        screen.OnPenDown(x, y);
    EXPECT_EQ(log, (Log{"box down 30,30", "box down 10,10"}));
}

TEST_F(ScreenTest, PassThroughLetsThePressOnAndTheLowestHitKeepsCapture) {
    Probe* lower = Add("lower", 0, 0, 50, 50, 5);
    Probe* upper = Add("upper", 0, 0, 50, 50, 20);
    upper->passThrough = true;
    Add("elsewhere", 100, 100, 10, 10, 1);

    screen.OnPenDown(10, 10);
    EXPECT_EQ(screen.captured, lower);
    screen.OnPenMove(12, 12);
    screen.OnPenUp(12, 13);
    EXPECT_EQ(log, (Log{"upper down 10,10", "lower down 10,10", "lower move 12,12", "lower up 12,13"}));
    EXPECT_EQ(screen.captured, nullptr);
}

TEST_F(ScreenTest, VisibleDisabledElementBlocksAndHiddenOneDoesNot) {
    Probe* lower = Add("lower", 0, 0, 50, 50, 5);
    Probe* blocker = Add("blocker", 0, 0, 50, 50, 20);
    blocker->enabled = false;
    Probe* ghost = Add("ghost", 0, 0, 50, 50, 30);
    ghost->SetVisible(false);

    screen.OnPenDown(10, 10);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(screen.captured, nullptr);

    // A disabled pass-through element lets the press on without taking it.
    blocker->passThrough = true;
    screen.OnPenDown(10, 10);
    EXPECT_EQ(log, (Log{"lower down 10,10"}));
    EXPECT_EQ(screen.captured, lower);
}

TEST_F(ScreenTest, PenUpWithNothingCapturedReachesEveryEnabledButtonAndWhatIsUnderTheStylus) {
    Probe* farButton = Add("farButton", 200, 300, 10, 10, 3);
    farButton->kind = u"Button";
    Probe* hiddenButton = Add("hiddenButton", 0, 0, 10, 10, 4);
    hiddenButton->kind = u"Button";
    hiddenButton->SetVisible(false);
    hiddenButton->enabled = true;  // hiding disabled it; the owner enables it again
    Probe* offButton = Add("offButton", 0, 0, 10, 10, 5);
    offButton->kind = u"Button";
    offButton->enabled = false;
    Add("under", 0, 0, 10, 10, 6);
    Probe* underOff = Add("underOff", 0, 0, 10, 10, 7);
    underOff->enabled = false;
    Add("away", 50, 50, 10, 10, 8);

    screen.OnPenUp(5, 5);
    // Top to bottom, and never ending early.
    EXPECT_EQ(log, (Log{"under up 5,5", "hiddenButton up 5,5", "farButton up 5,5"}));
}

TEST_F(ScreenTest, CapturedElementThatWasDisabledKeepsCaptureUntilItCanTakeThePenUp) {
    Probe* a = Add("a", 0, 0, 20, 20);
    Probe* b = Add("b", 100, 100, 20, 20);
    screen.OnPenDown(5, 5);
    a->enabled = false;
    screen.OnPenMove(6, 6);
    screen.OnPenUp(6, 6);
    EXPECT_EQ(screen.captured, a);
    EXPECT_EQ(log, (Log{"a down 5,5"}));

    a->enabled = true;
    screen.OnPenUp(7, 7);
    EXPECT_EQ(log, (Log{"a down 5,5", "a up 7,7"}));

    // A press elsewhere replaces a capture that never got its pen-up.
    screen.OnPenDown(5, 5);
    a->SetVisible(false);
    screen.OnPenUp(5, 5);
    EXPECT_EQ(screen.captured, a);
    screen.OnPenDown(105, 105);
    EXPECT_EQ(screen.captured, b);
    screen.OnPenUp(105, 105);
    EXPECT_EQ(log.back(), "b up 105,105");
}

TEST_F(ScreenTest, RemovedOrDeletedElementNeverHearsAgain) {
    int destroyed = 0;
    Probe* a = Add("a", 0, 0, 20, 20);
    a->destroyed = &destroyed;
    screen.tickers.AddUnique(a);
    screen.OnPenDown(5, 5);
    screen.RemoveElement(a, true);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(screen.captured, nullptr);
    EXPECT_EQ(screen.tickers.count, 0);
    screen.OnPenMove(6, 6);
    screen.OnPenUp(6, 6);
    screen.Tick(1000);
    EXPECT_EQ(log, (Log{"a down 5,5"}));

    // Taken off without deleting: likewise forgotten, and it is the caller's.
    Probe* b = Add("b", 0, 0, 20, 20);
    screen.tickers.AddUnique(b);
    screen.OnPenDown(5, 5);
    screen.RemoveElement(b, false);
    EXPECT_EQ(screen.captured, nullptr);
    EXPECT_FALSE(screen.tickers.Contains(b));
    screen.RemoveElement(nullptr, true);
    delete b;
}

TEST_F(ScreenTest, PressThatDeletesElementsDoesNotTouchThemAfterwards) {
    Probe* lower = Add("lower", 0, 0, 50, 50, 5);
    Probe* middle = Add("middle", 0, 0, 50, 50, 10);
    Probe* upper = Add("upper", 0, 0, 50, 50, 20);
    upper->passThrough = true;
    middle->passThrough = true;
    // The top element's press takes the one below it off the scene.
    upper->onPenDown = [&] { screen.RemoveElement(middle, true); };
    screen.OnPenDown(10, 10);
    EXPECT_EQ(log, (Log{"upper down 10,10", "lower down 10,10"}));
    EXPECT_EQ(screen.captured, lower);

    // An element that deletes itself when pressed ends the walk.
    lower->onPenDown = [&] { screen.RemoveElement(lower, true); };
    upper->onPenDown = nullptr;
    Probe* bottom = Add("bottom", 0, 0, 50, 50, 1);
    screen.OnPenDown(10, 10);
    EXPECT_EQ(screen.captured, nullptr);
    EXPECT_EQ(log.back(), "lower down 10,10");
    (void)bottom;
}

TEST_F(ScreenTest, DirtyRectanglesMergeAndOnesReachingOutsideAreDropped) {
    screen.AddDirtyRect(Rect{10, 20, 30, 40});
    screen.AddDirtyRect(Rect{5, 30, 20, 50});
    EXPECT_EQ(screen.dirty, (Rect{5, 20, 30, 50}));
    screen.AddDirtyRect(Rect{200, 300, 240, 320});  // right and bottom on the edge are fine
    EXPECT_EQ(screen.dirty, (Rect{5, 20, 240, 320}));

    screen.dirty = Rect{-1, -1, -1, -1};
    for (Rect outside : {Rect{0, 0, 241, 10}, Rect{0, 0, 10, 321}, Rect{-1, 0, 10, 10}, Rect{0, -1, 10, 10}})
        screen.AddDirtyRect(outside);
    EXPECT_FALSE(screen.IsDirty());
}

TEST_F(ScreenTest, PartialPaintCopiesTheDirtyRectangleWithItsEdgesAndNothingElse) {
    Add("fill", 0, 0, 240, 320, 10, Rgb(0, 128, 0));
    screen.AddDirtyRect(Rect{10, 20, 30, 40});
    screen.Paint(hp.window, false);
    const Surface& shown = hp.window.Shown();
    int copied = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool inside = x >= 10 && x <= 30 && y >= 20 && y <= 40;
            EXPECT_EQ(shown.At(x, y), inside ? Rgb(0, 128, 0) : Rgb(255, 255, 255)) << x << "," << y;
            copied += inside;
        }
    EXPECT_EQ(copied, 21 * 21);
    EXPECT_FALSE(screen.IsDirty());

    // Dirty up to the far edges: the extra column and row fall off the buffer.
    screen.AddDirtyRect(Rect{200, 300, 240, 320});
    screen.Paint(hp.window, false);
    EXPECT_EQ(shown.At(239, 319), Rgb(0, 128, 0));
    EXPECT_EQ(shown.At(199, 319), Rgb(255, 255, 255));
}

TEST_F(ScreenTest, ElementMovedPartlyOffTheScreenIsComposedWhereItNowStands) {
    auto* back = new Probe(&screen, &log, "back", 240, 320, Rgb(0, 90, 0));
    back->layer = 1;
    screen.AddElement(back);
    screen.background = back;
    auto* box = new Probe(&screen, &log, "box", 30, 30, Rgb(200, 0, 0));
    box->MoveTo(190, 100);
    screen.AddElement(box);
    PaintAll();

    // Its new bounds reach past the right edge, so only the vacated area is
    // asked to be repainted; the rest waits for the next whole paint.
    box->MoveTo(220, 100);
    screen.Paint(hp.window, false);
    const Surface& shown = hp.window.Shown();
    EXPECT_EQ(shown.At(200, 110), Rgb(0, 90, 0));
    EXPECT_EQ(shown.At(220, 110), Rgb(200, 0, 0));
    EXPECT_EQ(shown.At(225, 110), Rgb(0, 90, 0));  // as the last whole paint left it
    screen.Paint(hp.window, true);
    EXPECT_EQ(shown.At(219, 110), Rgb(0, 90, 0));
    EXPECT_EQ(shown.At(225, 110), Rgb(200, 0, 0));
    EXPECT_EQ(shown.At(239, 129), Rgb(200, 0, 0));
}

TEST_F(ScreenTest, BackgroundIsCopiedOpaquelyAndEverythingElseKeyed) {
    Probe* back = Add("back", 0, 0, 240, 320, 0, KeyColour);
    back->Picture().Fill(0, 0, 10, 10, Rgb(1, 2, 3));
    Probe* keyed = Add("keyed", 0, 0, 20, 20, 10, KeyColour);
    keyed->Picture().Set(15, 15, Rgb(9, 9, 9));
    screen.background = back;
    PaintAll();
    const Surface& shown = hp.window.Shown();
    EXPECT_EQ(shown.At(5, 5), Rgb(1, 2, 3));
    EXPECT_EQ(shown.At(15, 15), Rgb(9, 9, 9));
    EXPECT_EQ(shown.At(100, 100), KeyColour);

    // Hidden elements and elements without a picture are skipped.
    keyed->SetVisible(false);
    Probe* blank = Add("blank", 0, 0, 240, 320, 20);
    blank->hasPicture = false;
    PaintAll();
    EXPECT_EQ(shown.At(15, 15), KeyColour);
}

TEST_F(ScreenTest, ScreensSharingABackBufferEachShowOnlyTheirOwnScene) {
    Add("dot", 10, 10, 5, 5, 10, Rgb(1, 1, 1));
    Screen other(platform, nullptr);
    other.ShareBackBufferWith(screen);
    auto* block = new scenetest::Probe(&other, &log, "block", 50, 50, Rgb(2, 2, 2));
    other.AddElement(block);
    const Surface& shown = hp.window.Shown();

    PaintAll();
    other.Paint(hp.window, true);
    EXPECT_EQ(shown.At(12, 12), Rgb(2, 2, 2));
    EXPECT_EQ(shown.At(45, 45), Rgb(2, 2, 2));
    // Back to the first screen, with nothing changed on it: none of the
    // other's block is left.
    PaintAll();
    EXPECT_EQ(shown.At(12, 12), Rgb(1, 1, 1));
    EXPECT_EQ(shown.At(45, 45), 0u);
    // A partial paint of the second screen recomposes it whole first.
    other.AddDirtyRect(Rect{40, 40, 42, 42});
    other.Paint(hp.window, false);
    EXPECT_EQ(shown.At(41, 41), Rgb(2, 2, 2));
    other.Paint(hp.window, true);
    EXPECT_EQ(shown.At(12, 12), Rgb(2, 2, 2));
    other.DestroyAllElements();
}

TEST_F(ScreenTest, ScreensOnAWindowThatLendsItsPictureComposeStraightIntoIt) {
    struct LendingWindow : HeadlessWindow {
        Surface picture{240, 320};
        Surface* LentPicture() override { return &picture; }
    } window;
    Platform lending{window, resources, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
    Screen first(lending, nullptr), second(lending, nullptr);
    second.ShareBackBufferWith(first);
    first.AddElement(new scenetest::Probe(&first, &log, "dot", 5, 5, Rgb(1, 1, 1)));
    second.AddElement(new scenetest::Probe(&second, &log, "block", 50, 50, Rgb(2, 2, 2)));

    ASSERT_EQ(&second.backBuffer->picture, &window.picture);
    first.Paint(window, true);
    EXPECT_EQ(window.picture.At(2, 2), Rgb(1, 1, 1));
    second.Paint(window, true);
    EXPECT_EQ(window.picture.At(2, 2), Rgb(2, 2, 2));
    // The first screen's own scene again, none of the block left over.
    first.Paint(window, true);
    EXPECT_EQ(window.picture.At(2, 2), Rgb(1, 1, 1));
    EXPECT_EQ(window.picture.At(40, 40), 0u);
    first.DestroyAllElements();
    second.DestroyAllElements();
}

TEST_F(ScreenTest, RefreshPaintsOnlyTheActiveScreenAndNestedPaintDoesNothing) {
    screen.AddDirtyRect(Rect{0, 0, 10, 10});
    screen.Refresh(false);
    EXPECT_EQ(hp.window.presentCount, 0);
    EXPECT_TRUE(screen.IsDirty());

    screen.painting = true;
    screen.Paint(hp.window, true);
    EXPECT_EQ(hp.window.presentCount, 0);
    screen.painting = false;

    screen.active = true;
    screen.Refresh(false);
    EXPECT_EQ(hp.window.presentCount, 1);
    EXPECT_EQ(hp.window.lastPresented, (Rect{0, 0, 11, 11}));
}

TEST_F(ScreenTest, RepaintIsThrottledToOncePer43Milliseconds) {
    screen.active = true;
    screen.lastRefresh = 1000;
    screen.AddDirtyRect(Rect{0, 0, 10, 10});
    screen.Tick(1042);
    EXPECT_EQ(hp.window.presentCount, 0);
    EXPECT_EQ(screen.lastRefresh, 1000u);
    screen.AddDirtyRect(Rect{20, 20, 30, 30});
    screen.Tick(1043);
    EXPECT_EQ(hp.window.presentCount, 1);
    EXPECT_EQ(hp.window.lastPresented, (Rect{0, 0, 31, 31}));  // one merged copy
    EXPECT_EQ(screen.lastRefresh, 1043u);

    // The check moves on even with nothing to copy.
    screen.Tick(1100);
    EXPECT_EQ(screen.lastRefresh, 1100u);
    EXPECT_EQ(hp.window.presentCount, 1);
}

TEST_F(ScreenTest, ThrottleSurvivesTheTickCountWrappingAround) {
    screen.active = true;
    screen.lastRefresh = 0xFFFFFFF0u;
    screen.AddDirtyRect(Rect{0, 0, 10, 10});
    screen.Tick(0x10);  // 32 ms later
    EXPECT_EQ(hp.window.presentCount, 0);
    screen.Tick(0x1B);  // 43 ms later
    EXPECT_EQ(hp.window.presentCount, 1);
    EXPECT_EQ(screen.lastRefresh, 0x1Bu);
}

TEST_F(ScreenTest, TickWalkEndsEarlyWhenTheListShrinksAndSkipsNewcomers) {
    Probe* a = Add("a", 0, 0, 1, 1);
    Probe* b = Add("b", 0, 0, 1, 1);
    Probe* c = Add("c", 0, 0, 1, 1);
    Probe* d = Add("d", 0, 0, 1, 1);
    for (Probe* p : {a, b, c}) screen.tickers.AddUnique(p);
    a->onTick = [&] {
        screen.tickers.Remove(a);
        a->onTick = nullptr;
    };
    screen.Tick(5);
    EXPECT_EQ(log, (Log{"a tick 5", "b tick 5"}));

    log.clear();
    b->onTick = [&] { screen.tickers.AddUnique(d); };
    screen.Tick(6);
    EXPECT_EQ(log, (Log{"b tick 6", "c tick 6"}));
    log.clear();
    b->onTick = nullptr;
    screen.Tick(7);
    EXPECT_EQ(log, (Log{"b tick 7", "c tick 7", "d tick 7"}));
}

TEST_F(ScreenTest, TickerDeletingAnotherTickerDoesNotTickTheDeletedOne) {
    Probe* a = Add("a", 0, 0, 1, 1);
    Probe* b = Add("b", 0, 0, 1, 1);
    Probe* c = Add("c", 0, 0, 1, 1);
    for (Probe* p : {a, b, c}) screen.tickers.AddUnique(p);
    a->onTick = [&] {
        screen.RemoveElement(b, true);
        a->onTick = nullptr;
    };
    screen.Tick(5);
    EXPECT_EQ(log, (Log{"a tick 5"}));
    log.clear();
    screen.Tick(6);
    EXPECT_EQ(log, (Log{"a tick 6", "c tick 6"}));
}

TEST_F(ScreenTest, DestroyAllElementsDeletesEveryElement) {
    int destroyed = 0;
    for (int i = 0; i < 3; ++i) Add("e", i, i, 1, 1)->destroyed = &destroyed;
    screen.background = screen.elements.head->item;
    screen.DestroyAllElements();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(screen.elements.count, 0);
    EXPECT_EQ(screen.background, nullptr);
}

}  // namespace
}  // namespace pw
