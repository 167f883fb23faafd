// Texts (sized to what they say, glyphs in one colour on the key colour) and
// weights (their number, the red question mark, typed digits).
#include <gtest/gtest.h>

#include <algorithm>

#include "elements/Text.h"
#include "elements/Weight.h"
#include "platform/TextFormat.h"
#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::SceneTest;

// Every pixel is either exactly the glyph colour or exactly the key colour,
// and there is at least one glyph pixel.
void ExpectTwoColours(const Surface& s, Pixel colour) {
    int glyph = 0;
    for (Pixel p : s.Pixels()) {
        ASSERT_TRUE(p == colour || p == KeyColour) << std::hex << p;
        glyph += p == colour;
    }
    EXPECT_GT(glyph, 0);
}

class TextTest : public SceneTest {};

TEST_F(TextTest, DefaultFontGivesAnEighteenPixelCellAsWideAsTheText) {
    Text text(&screen, u"Score: 48", Rgb(255, 255, 255));
    const Size measured = hp.text.Measure(Text::DefaultFont(), u"Score: 48");
    EXPECT_EQ(text.GetHeight(), 18);
    EXPECT_EQ(text.GetWidth(), measured.width);
    EXPECT_GT(measured.width, hp.text.Measure(Text::DefaultFont(), u"Score: 4").width);
    EXPECT_EQ(text.GetSurface()->Width(), text.GetWidth());
    EXPECT_EQ(text.GetSurface()->Height(), 18);
    EXPECT_TRUE(text.visible);
    EXPECT_FALSE(text.enabled);
    EXPECT_EQ(text.GetBounds().left, 0);
}

TEST_F(TextTest, EachCellHeightGivesACellOfExactlyThatManyPixels) {
    int previousWidth = 0;
    for (int h : {12, 13, 16, 18}) {
        // Capital, ascender and descender, all among the characters the game draws.
        Text text(&screen, u"Mql8", Rgb(0, 0, 0), BoldSwissFont(h));
        EXPECT_EQ(text.GetHeight(), h);
        EXPECT_EQ(text.GetSurface()->Height(), h);
        // A larger cell means a larger face, and its ink uses most of the cell.
        EXPECT_GT(text.GetWidth(), previousWidth) << h;
        previousWidth = text.GetWidth();
        int top = h, bottom = -1;
        const Surface& s = *text.GetSurface();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < s.Width(); ++x)
                if (s.At(x, y) != KeyColour) top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_GE(bottom - top + 1, h * 2 / 3) << h;
    }
}

TEST_F(TextTest, GlyphsAreOneExactColourOnTheKeyColourWithNoFringe) {
    for (Pixel colour : {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(132, 0, 0), Rgb(255, 204, 0)})
        for (int h : {12, 18}) {
            Text text(&screen, u"0123456789 ?Level", colour, BoldSwissFont(h));
            ExpectTwoColours(*text.GetSurface(), colour);
        }
}

TEST_F(TextTest, EmptyTextHasNoWidthAndPaintsNothing) {
    auto* text = new Text(&screen, u"", Rgb(0, 0, 0));
    EXPECT_EQ(text->GetWidth(), 0);
    screen.AddElement(text);
    PaintAll();
    EXPECT_EQ(hp.window.Shown().At(0, 0), 0u);
}

constexpr int kWeightPicture = 1;  // 30 x 24: a grey face with a key-colour corner
constexpr int kNarrowWeight = 2;   // 20 x 24

class WeightTest : public SceneTest {
protected:
    WeightTest() {
        Surface face = scenetest::Pattern(30, 24, 150);
        face.Set(0, 0, KeyColour);
        resources.AddBitmap(kWeightPicture, face);
        resources.AddBitmap(kNarrowWeight, scenetest::Pattern(20, 24, 150));
    }

    // The weight's bitmap with the label drawn by an independent Text,
    // centred by truncating halving.
    Surface Expected(int pictureId, const std::u16string* label, Pixel colour) {
        Surface want = *resources.LoadBitmap(pictureId);
        if (label == nullptr) return want;
        Text text(&screen, *label, colour);
        const Surface& glyphs = *text.GetSurface();
        const int ox = (want.Width() - glyphs.Width()) / 2, oy = (want.Height() - glyphs.Height()) / 2;
        for (int y = 0; y < glyphs.Height(); ++y)
            for (int x = 0; x < glyphs.Width(); ++x) {
                const int wx = ox + x, wy = oy + y;
                if (wx < 0 || wy < 0 || wx >= want.Width() || wy >= want.Height()) continue;
                if (glyphs.At(x, y) != KeyColour) want.Set(wx, wy, colour);
            }
        return want;
    }
    static bool Same(const Surface& a, const Surface& b) {
        return a.Width() == b.Width() && a.Height() == b.Height() && a.Pixels() == b.Pixels();
    }
    void ClearDirty() { screen.dirty = Rect{-1, -1, -1, -1}; }
};

TEST_F(WeightTest, ShowsItsNumberInBlackCentredOrTheBareBitmap) {
    Weight shown(&screen, 7, kWeightPicture, true);
    const std::u16string seven = u"7";
    EXPECT_TRUE(Same(*shown.GetSurface(), Expected(kWeightPicture, &seven, Rgb(0, 0, 0))));
    EXPECT_FALSE(Same(*shown.GetSurface(), Expected(kWeightPicture, nullptr, 0)));
    EXPECT_EQ(shown.GetSurface()->At(0, 0), KeyColour);  // the picture's own transparency stays

    Weight bare(&screen, 7, kWeightPicture, false);
    EXPECT_TRUE(Same(*bare.GetSurface(), Expected(kWeightPicture, nullptr, 0)));
    EXPECT_EQ(bare.value, 7);
    EXPECT_EQ(bare.initialValue, 7);
    EXPECT_EQ(bare.typedValue, 0);
}

TEST_F(WeightTest, QuestionMarkIsDarkRedAndGivesWayToTheNumberAgain) {
    Weight w(&screen, 12, kWeightPicture, false);
    ClearDirty();
    w.RenderQuestionMark();
    const std::u16string question = u"?";
    EXPECT_TRUE(Same(*w.GetSurface(), Expected(kWeightPicture, &question, Rgb(132, 0, 0))));
    EXPECT_TRUE(screen.IsDirty());
    EXPECT_FALSE(w.showNumber);
    EXPECT_EQ(w.value, 12);

    w.SetShowNumber(true);
    const std::u16string twelve = u"12";
    EXPECT_TRUE(Same(*w.GetSurface(), Expected(kWeightPicture, &twelve, Rgb(0, 0, 0))));
}

TEST_F(WeightTest, SettingTheSameShowFlagChangesNothing) {
    Weight w(&screen, 5, kWeightPicture, true);
    w.value = 9;  // written directly: shows after the next render
    ClearDirty();
    w.SetShowNumber(true);
    EXPECT_FALSE(screen.IsDirty());
    const std::u16string five = u"5";
    EXPECT_TRUE(Same(*w.GetSurface(), Expected(kWeightPicture, &five, Rgb(0, 0, 0))));

    w.SetShowNumber(false);
    EXPECT_TRUE(screen.IsDirty());
    EXPECT_TRUE(Same(*w.GetSurface(), Expected(kWeightPicture, nullptr, 0)));
}

TEST_F(WeightTest, TypedDigitsMakeAtMostATwoDigitNumber) {
    Weight w(&screen, 0, kWeightPicture, true);
    w.EnterDigit(3);
    EXPECT_EQ(w.value, 3);
    w.EnterDigit(5);
    EXPECT_EQ(w.value, 35);
    EXPECT_EQ(w.typedValue, 35);
    const std::u16string label = u"35";
    EXPECT_TRUE(Same(*w.GetSurface(), Expected(kWeightPicture, &label, Rgb(0, 0, 0))));
    ClearDirty();
    w.EnterDigit(8);
    EXPECT_EQ(w.value, 35);
    EXPECT_FALSE(screen.IsDirty());

    // A typed digit asks for a repaint of the weight alone.
    Weight placed(&screen, 0, kWeightPicture, true);
    placed.MoveTo(100, 150);
    ClearDirty();
    screen.stale = Rect{0, 0, 0, 0};
    placed.EnterDigit(6);
    EXPECT_EQ(screen.dirty, placed.GetPictureBounds());
    EXPECT_EQ(screen.stale, placed.GetPictureBounds());

    Weight z(&screen, 9, kWeightPicture, false);
    z.EnterDigit(0);
    EXPECT_EQ(z.value, 0);
    z.EnterDigit(4);
    EXPECT_EQ(z.value, 4);
    EXPECT_FALSE(z.showNumber);
}

TEST_F(WeightTest, WideLabelOnANarrowWeightIsCentredByTruncation) {
    for (int value : {88, 10, 100}) {
        Weight w(&screen, value, kNarrowWeight, true);
        const std::u16string label = FormatInt(value);
        EXPECT_TRUE(Same(*w.GetSurface(), Expected(kNarrowWeight, &label, Rgb(0, 0, 0)))) << value;
    }
}

}  // namespace
}  // namespace pw
