// What every element shares: visibility and its effect on input, repaint
// requests around changes, dragging, intersection and listener notification.
#include <gtest/gtest.h>

#include <cstring>

#include "elements/Animation.h"
#include "elements/Background.h"
#include "elements/Button.h"
#include "elements/Hotspot.h"
#include "elements/Image.h"
#include "elements/Text.h"
#include "elements/Weight.h"
#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::Log;
using scenetest::Probe;
using scenetest::RecordingElementListener;
using scenetest::SceneTest;

class FigureTest : public SceneTest {
protected:
    void ClearDirty() { screen.dirty = Rect{-1, -1, -1, -1}; }
};

TEST_F(FigureTest, HidingDisablesAndShowingDoesNotEnable) {
    Probe p(&screen, &log, "p", 10, 10);
    p.visible = true;
    p.enabled = true;
    p.SetVisible(false);
    EXPECT_FALSE(p.visible);
    EXPECT_FALSE(p.enabled);
    p.SetVisible(true);
    EXPECT_TRUE(p.visible);
    EXPECT_FALSE(p.enabled);
}

TEST_F(FigureTest, RepaintRequestsCoverOldAndNewPlaceButNotAnUnchangedVisibility) {
    Probe p(&screen, &log, "p", 10, 10);
    p.MoveTo(20, 20);
    ClearDirty();
    p.SetVisible(true);  // already visible
    EXPECT_FALSE(screen.IsDirty());

    p.SetX(20);  // same place: still a request
    EXPECT_EQ(screen.dirty, (Rect{20, 20, 30, 30}));

    ClearDirty();
    p.SetY(50);
    EXPECT_EQ(screen.dirty, (Rect{20, 20, 30, 60}));
    ClearDirty();
    p.MoveTo(100, 5);
    EXPECT_EQ(screen.dirty, (Rect{20, 5, 110, 60}));
    ClearDirty();
    p.SetWidth(30);
    EXPECT_EQ(screen.dirty, (Rect{100, 5, 130, 15}));

    // Flags without setters request nothing.
    ClearDirty();
    p.enabled = false;
    p.draggable = true;
    p.passThrough = true;
    p.tag = 3;
    EXPECT_FALSE(screen.IsDirty());
}

TEST_F(FigureTest, DragPositionCentresOnTheStylusAndStaysOnScreen) {
    Probe p(&screen, &log, "p", 20, 30);
    int32_t x = -1, y = -1;
    p.ClampDragPosition(5, 5, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(0, 0));
    p.ClampDragPosition(235, 300, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(220, 285));
    p.ClampDragPosition(100, 100, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(90, 85));
    // Odd sizes halve by truncation.
    Probe odd(&screen, &log, "odd", 21, 31);
    odd.ClampDragPosition(100, 100, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(90, 85));

    // Larger than the screen: the right and bottom clamps win.
    Probe huge(&screen, &log, "huge", 300, 400);
    huge.ClampDragPosition(0, 0, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(-60, -80));

    // Absurd stylus points still give a corner on the screen.
    p.ClampDragPosition(INT32_MAX, INT32_MIN, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(220, 0));
    p.ClampDragPosition(INT32_MIN, INT32_MAX, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(0, 290));
}

TEST_F(FigureTest, DraggableElementIsCentredAtThePressAndFollowsMoves) {
    auto* p = new Probe(&screen, &log, "p", 20, 30);
    p->draggable = true;
    screen.AddElement(p);
    RecordingElementListener listener(&log);
    p->AddListener(&listener);
    // The listener sees the element where it was; it moves after being told.
    listener.onPressed = [&] { EXPECT_EQ(p->GetX(), 0); };
    screen.OnPenDown(10, 20);
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(0, 5));
    listener.onPressed = nullptr;
    screen.OnPenMove(120, 200);
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(110, 185));
    screen.OnPenUp(120, 200);
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(110, 185));
    EXPECT_EQ(log, (Log{"p down 10,20", "listener pressed 10,20", "p move 120,200", "p up 120,200",
                        "listener released 120,200"}));

    p->draggable = false;
    screen.OnPenDown(115, 190);
    screen.OnPenMove(50, 50);
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(110, 185));
}

TEST_F(FigureTest, RectanglesThatOnlyTouchIntersect) {
    Probe p(&screen, &log, "p", 10, 10);
    p.MoveTo(10, 10);                                // bounds {10, 10, 20, 20}
    EXPECT_TRUE(p.Intersects(Rect{20, 0, 30, 10}));  // touches the corner
    EXPECT_TRUE(p.Intersects(Rect{0, 15, 10, 16}));
    EXPECT_TRUE(p.Intersects(Rect{12, 12, 13, 13}));  // inside
    EXPECT_FALSE(p.Intersects(Rect{21, 10, 30, 20}));
    EXPECT_FALSE(p.Intersects(Rect{10, 0, 20, 9}));
}

TEST_F(FigureTest, ListenerThatUnregistersDuringNotificationEndsTheWalkEarly) {
    Probe p(&screen, &log, "p", 10, 10);
    RecordingElementListener first(&log, "first"), second(&log, "second"), third(&log, "third");
    for (auto* l : {&first, &second, &third}) p.AddListener(l);
    p.AddListener(&second);
    EXPECT_EQ(p.listeners.count, 3);
    first.onPressed = [&] { p.RemoveListener(&first); };
    p.OnPenDown(1, 2);
    EXPECT_EQ(log, (Log{"p down 1,2", "first pressed 1,2", "second pressed 1,2"}));

    log.clear();
    p.OnPenUp(3, 4);
    EXPECT_EQ(log, (Log{"p up 3,4", "second released 3,4", "third released 3,4"}));
    EXPECT_FALSE(p.RemoveListener(&first));

    // One added during a walk is first told at the next notification.
    log.clear();
    second.onReleased = [&] { p.AddListener(&first); };
    p.OnPenUp(5, 6);
    EXPECT_EQ(log, (Log{"p up 5,6", "second released 5,6", "third released 5,6"}));
}

class BareFigure : public Figure {
public:
    using Figure::Figure;
    const Surface* GetSurface() override { return nullptr; }
};

TEST_F(FigureTest, EveryKindNamesItself) {
    resources.AddBitmap(1, scenetest::Pattern(20, 10, 0));
    auto same = [](Figure&& f, const char16_t* name) {
        return std::u16string_view(f.GetKindName()) == name && f.IsKind(name);
    };
    EXPECT_TRUE(same(BareFigure(&screen), u"Figure"));
    EXPECT_TRUE(same(Image(&screen, 1), u"Image"));
    EXPECT_TRUE(same(Animation(&screen, 1, 2, 5), u"Animation"));
    EXPECT_TRUE(same(Button(&screen, 1), u"Button"));
    EXPECT_TRUE(same(Hotspot(&screen, 5, 5), u"Hotspot"));
    EXPECT_TRUE(same(Text(&screen, u"x", Rgb(0, 0, 0)), u"Text"));
    EXPECT_TRUE(same(Weight(&screen, 3, 1, true), u"Weight"));
    EXPECT_TRUE(same(Background(&screen), u"Background"));
}

}  // namespace
}  // namespace pw
