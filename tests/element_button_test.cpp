// Buttons (two faces, centred icon and caption, press and release) and
// hotspots (never drawn, click before the listeners hear of the press).
#include <gtest/gtest.h>

#include <algorithm>

#include "elements/Button.h"
#include "elements/Hotspot.h"
#include "elements/Text.h"
#include "resources/ResourceIds.h"
#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::Log;
using scenetest::RecordingElementListener;
using scenetest::SceneTest;

constexpr int kFaces = 1;  // 60 x 30: normal face left, pressed face right
constexpr int kIcon = 2;   // 20 x 20 with a key-colour frame

class ButtonTest : public SceneTest {
protected:
    ButtonTest() {
        Surface faces(60, 30);
        faces.Fill(0, 0, 30, 30, Rgb(0, 0, 200));
        faces.Fill(30, 0, 30, 30, Rgb(200, 0, 0));
        resources.AddBitmap(kFaces, faces);
        Surface icon = scenetest::Solid(20, 20, KeyColour);
        icon.Fill(1, 1, 18, 18, Rgb(0, 200, 0));
        resources.AddBitmap(kIcon, icon);
        button = new Button(&screen, kFaces);
        button->enabled = true;
        button->MoveTo(100, 100);
        button->AddListener(&listener);
        screen.AddElement(button);
        PaintAll();
    }

    // The face pixel the button shows now.
    Pixel FaceAt(int x, int y) { return button->GetSurface()->At(x, y); }

    Button* button = nullptr;
    RecordingElementListener listener{&log};
};

TEST_F(ButtonTest, OneFaceIsWhatTheButtonMeasuresAndShows) {
    EXPECT_EQ(button->GetWidth(), 30);
    EXPECT_EQ(button->GetHeight(), 30);
    EXPECT_EQ(button->width, 60);
    EXPECT_EQ(button->GetBounds(), (Rect{100, 100, 130, 130}));
    EXPECT_TRUE(button->visible);
    EXPECT_EQ(hp.window.Shown().At(129, 129), Rgb(0, 0, 200));
    EXPECT_EQ(hp.window.Shown().At(130, 129), Rgb(0, 0, 0));  // the back buffer beyond one face

    // Dragging still centres on the two-face width it stores.
    int32_t x = 0, y = 0;
    button->ClampDragPosition(100, 100, x, y);
    EXPECT_EQ(x, 70);
}

TEST_F(ButtonTest, IconAndCaptionAreCentredOnEitherFace) {
    button->SetIcon(kIcon);
    const LogFont font = BoldSwissFont(13);
    button->SetCaption(u"W", Rgb(255, 255, 0), font);
    button->SetCaption(u"1", Rgb(255, 255, 255), font);
    ASSERT_NE(button->caption, nullptr);
    EXPECT_EQ(button->caption->text, u"1");

    Text expectedCaption(&screen, u"1", Rgb(255, 255, 255), font);
    const Surface& glyphs = *expectedCaption.GetSurface();
    const int cx = (30 - glyphs.Width()) / 2, cy = (30 - glyphs.Height()) / 2;
    for (bool pressed : {false, true}) {
        button->pressed = pressed;
        const Pixel faceColour = pressed ? Rgb(200, 0, 0) : Rgb(0, 0, 200);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                Pixel want = faceColour;
                if (x >= 6 && x < 24 && y >= 6 && y < 24) want = Rgb(0, 200, 0);  // icon at (5, 5)
                const int gx = x - cx, gy = y - cy;
                if (gx >= 0 && gy >= 0 && gx < glyphs.Width() && gy < glyphs.Height() &&
                    glyphs.At(gx, gy) != KeyColour)
                    want = Rgb(255, 255, 255);
                ASSERT_EQ(FaceAt(x, y), want) << x << "," << y << " pressed " << pressed;
            }
    }
}

TEST_F(ButtonTest, PressShowsThePressedFaceAndRequestsARepaintBeforeTellingListeners) {
    listener.onPressed = [&] {
        EXPECT_TRUE(button->pressed);
        EXPECT_EQ(FaceAt(0, 0), Rgb(200, 0, 0));
        EXPECT_EQ(screen.dirty, (Rect{100, 100, 130, 130}));
    };
    screen.OnPenDown(110, 110);
    EXPECT_EQ(log, (Log{"listener pressed 110,110"}));

    // Lifted far away: still released, with the lift point.
    screen.dirty = Rect{-1, -1, -1, -1};
    listener.onReleased = [&] {
        EXPECT_FALSE(button->pressed);
        EXPECT_EQ(FaceAt(0, 0), Rgb(0, 0, 200));
        EXPECT_EQ(screen.dirty, (Rect{100, 100, 130, 130}));
    };
    screen.OnPenUp(5, 300);
    EXPECT_EQ(log, (Log{"listener pressed 110,110", "listener released 5,300"}));
}

TEST_F(ButtonTest, PenUpOnAButtonThatIsNotPressedDoesNothing) {
    screen.OnPenUp(110, 110);  // nothing captured: every enabled button hears it
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(screen.IsDirty());
}

TEST_F(ButtonTest, TickReleasesWithoutTellingAnyoneOnceTheStylusIsUp) {
    screen.tickers.AddUnique(button);
    hp.window.SetPrimaryButtonDown(true);
    screen.OnPenDown(110, 110);
    screen.dirty = Rect{-1, -1, -1, -1};
    screen.Tick(1);
    EXPECT_TRUE(button->pressed);
    EXPECT_FALSE(screen.IsDirty());

    hp.window.SetPrimaryButtonDown(false);
    screen.Tick(2);
    EXPECT_FALSE(button->pressed);
    EXPECT_EQ(screen.dirty, (Rect{100, 100, 130, 130}));
    EXPECT_EQ(log, (Log{"listener pressed 110,110"}));
    // The pen-up that follows finds it released and says nothing.
    screen.OnPenUp(110, 110);
    EXPECT_EQ(log, (Log{"listener pressed 110,110"}));
}

class HotspotTest : public SceneTest {
protected:
    HotspotTest() {
        resources.AddSound(res::kClickSound);
        Hotspot::clickSound = nullptr;  // shared by the whole program; start afresh
    }
};

TEST_F(HotspotTest, NeverDrawnAndClicksBeforeListenersHear) {
    auto* spot = new Hotspot(&screen, 40, 40);
    EXPECT_FALSE(spot->visible);
    EXPECT_TRUE(spot->enabled);
    spot->MoveTo(10, 10);
    screen.AddElement(spot);
    RecordingElementListener listener(&log);
    spot->AddListener(&listener);

    screen.OnPenDown(20, 20);  // invisible: not hit
    EXPECT_TRUE(hp.sound.played.empty());

    spot->SetVisible(true);
    spot->enabled = true;
    PaintAll();
    const Surface& shown = hp.window.Shown();
    EXPECT_TRUE(std::all_of(shown.Pixels().begin(), shown.Pixels().end(), [](Pixel p) { return p == 0; }));

    size_t presses = 0;
    listener.onPressed = [&] {
        ++presses;
        EXPECT_EQ(hp.sound.played.size(), presses);
    };
    screen.OnPenDown(20, 20);
    screen.OnPenDown(50, 50);
    EXPECT_EQ(hp.sound.played, (std::vector<int>{res::kClickSound, res::kClickSound}));
    EXPECT_EQ(log, (Log{"listener pressed 20,20", "listener pressed 50,50"}));
}

TEST_F(HotspotTest, TheClickIsLookedUpOnceForAllHotspots) {
    Hotspot a(&screen, 1, 1), b(&screen, 1, 1), c(&screen, 1, 1);
    EXPECT_EQ(resources.soundLookups[res::kClickSound], 1);
}

TEST_F(HotspotTest, AMissingClickIsSoughtAgainAndHotspotsStaySilentMeanwhile) {
    scenetest::FakeResources silent;
    Platform quiet{hp.window, silent, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
    Screen quietScreen(quiet, nullptr);
    Hotspot a(&quietScreen, 5, 5), b(&quietScreen, 5, 5);
    EXPECT_EQ(silent.soundLookups[res::kClickSound], 2);
    a.OnPenDown(1, 1);
    EXPECT_TRUE(hp.sound.played.empty());
}

TEST_F(HotspotTest, TheClickOutlivesTheResourceStoreThatFoundIt) {
    {
        scenetest::FakeResources first;
        first.AddSound(res::kClickSound);
        Platform earlier{hp.window, first, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
        Screen earlierScreen(earlier, nullptr);
        Hotspot loader(&earlierScreen, 5, 5);
    }
    Hotspot later(&screen, 5, 5);
    later.OnPenDown(1, 1);
    EXPECT_EQ(hp.sound.played, (std::vector<int>{res::kClickSound}));
    EXPECT_EQ(resources.soundLookups[res::kClickSound], 0);
}

}  // namespace
}  // namespace pw
