// The title screen: its picture and two yellow texts, and a press anywhere,
// on the texts too, telling its listeners at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/headless/HeadlessPlatform.h"
#include "scene/Figure.h"
#include "title/TitleScreen.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

struct Report {
    Screen* source;
    Figure* element;
    int32_t x, y;
};

class RecordingListener : public ScreenListener {
public:
    void OnScreenEvent(Screen* source, Figure* element, int32_t x, int32_t y) override {
        reports.push_back({source, element, x, y});
    }
    std::vector<Report> reports;
};

class TitleScreenTest : public ::testing::Test {
protected:
    TitleScreenTest() : hp_(folder_.path), title_(hp_.Get(), nullptr) {}
    TempFolder folder_;
    HeadlessPlatform hp_;
    TitleScreen title_;
};

TEST_F(TitleScreenTest, PictureBelowTwoPassThroughTexts) {
    ASSERT_EQ(title_.elements.count, 3);
    Figure* picture = title_.elements.ItemAt(0);
    EXPECT_EQ(title_.background, picture);
    EXPECT_TRUE(picture->IsKind(u"Image"));
    EXPECT_EQ(picture->GetLayer(), 1);
    EXPECT_TRUE(picture->enabled);
    EXPECT_EQ(picture->GetWidth(), 240);
    EXPECT_EQ(picture->GetHeight(), 320);
    for (int i = 1; i < 3; ++i) {
        Figure* text = title_.elements.ItemAt(i);
        EXPECT_TRUE(text->IsKind(u"Text"));
        EXPECT_EQ(text->GetLayer(), 10);
        EXPECT_FALSE(text->enabled);
        EXPECT_TRUE(text->passThrough);
        EXPECT_TRUE(text->visible);
        EXPECT_EQ(text->GetY(), 300);
        EXPECT_EQ(text->GetHeight(), 13);
        EXPECT_LE(text->GetX() + text->GetWidth(), 240) << "the text fits on the screen";
    }
    // Equal layers: the notice, added last, lies beneath the version text.
    EXPECT_EQ(title_.elements.ItemAt(1)->GetX(), 158);
    EXPECT_EQ(title_.elements.ItemAt(2)->GetX(), 10);
}

TEST_F(TitleScreenTest, TextsAreYellowOverThePicture) {
    title_.active = true;
    title_.Paint(hp_.window, true);
    const Surface& shown = hp_.window.Shown();
    int yellow = 0;
    for (int y = 300; y < 313; ++y)
        for (int x = 10; x < 240; ++x) {
            yellow += shown.At(x, y) == TitleScreen::kTextColour;
            ASSERT_NE(shown.At(x, y), KeyColour);
        }
    EXPECT_GT(yellow, 50);
}

TEST_F(TitleScreenTest, APressAnywhereReportsAtOnceToEveryListener) {
    RecordingListener first, second;
    title_.OnPenDown(5, 5);  // nobody listens yet: nothing happens
    title_.listeners.InsertAt(&first, 0);
    title_.listeners.InsertAt(&second, 1);
    title_.OnPenDown(20, 305);   // on the version text
    title_.OnPenDown(200, 305);  // on the notice
    title_.OnPenDown(239, 319);  // the far corner is still the picture
    ASSERT_EQ(first.reports.size(), 3u);
    ASSERT_EQ(second.reports.size(), 3u);
    for (const Report& r : first.reports) {
        EXPECT_EQ(r.source, &title_);
        EXPECT_EQ(r.element, title_.background);
    }
    EXPECT_EQ(first.reports[1].x, 200);
    EXPECT_EQ(first.reports[1].y, 305);
    // The stylus-up is not awaited and reports nothing.
    title_.OnPenUp(200, 305);
    EXPECT_EQ(first.reports.size(), 3u);
    EXPECT_TRUE(hp_.sound.played.empty()) << "the title makes no sound of its own";
}

}  // namespace
}  // namespace pw
