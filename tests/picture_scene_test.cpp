// A composed scene painted to the window, checked pixel by pixel against a
// composition worked out here from the decoded artwork: opaque background,
// keyed pictures over it, a pressed keypad key with icon and caption, weights
// with a two-digit number and with the question mark, and animation frames.
#include <gtest/gtest.h>

#include "elements/Animation.h"
#include "elements/Button.h"
#include "elements/Image.h"
#include "elements/Text.h"
#include "elements/Weight.h"
#include "platform/EmbeddedResourceStore.h"
#include "resources/ResourceIds.h"
#include "scene_test_support.h"

namespace pw {
namespace {

using scenetest::TempFolder;

// Copies src's w x h block at (sx, sy) onto dst at (dx, dy), leaving dst
// wherever src holds the key colour; clipped to dst.
void KeyedOver(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int tx = dx + x, ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= dst.Width() || ty >= dst.Height()) continue;
            const Pixel p = src.At(sx + x, sy + y);
            if (p != KeyColour) dst.Set(tx, ty, p);
        }
}

void CentredOver(Surface& dst, const Surface& src) {
    KeyedOver(dst, (dst.Width() - src.Width()) / 2, (dst.Height() - src.Height()) / 2, src, 0, 0, src.Width(),
              src.Height());
}

class PictureTest : public ::testing::Test {
protected:
    ~PictureTest() override { screen.DestroyAllElements(); }

    std::unique_ptr<Surface> Source(int id) {
        auto picture = artwork.LoadBitmap(id);
        if (!picture) ADD_FAILURE() << "bitmap " << id << " is missing";
        return picture ? std::move(picture) : std::make_unique<Surface>(1, 1);
    }
    template <typename Element>
    Element* Place(Element* e, int x, int y, int layer) {
        e->MoveTo(x, y);
        e->layer = layer;
        screen.AddElement(e);
        return e;
    }
    // Label pixels of a text drawn centred on a picture at (x, y) of the window.
    std::vector<std::pair<int, int>> LabelPixels(const Surface& glyphs, int x, int y, int w, int h) {
        std::vector<std::pair<int, int>> out;
        const int ox = x + (w - glyphs.Width()) / 2, oy = y + (h - glyphs.Height()) / 2;
        for (int gy = 0; gy < glyphs.Height(); ++gy)
            for (int gx = 0; gx < glyphs.Width(); ++gx)
                if (glyphs.At(gx, gy) != KeyColour) out.emplace_back(ox + gx, oy + gy);
        return out;
    }

    TempFolder folder;
    HeadlessPlatform hp{folder.path};
    Screen screen{hp.Get(), nullptr};
    EmbeddedResourceStore artwork;
};

TEST_F(PictureTest, PaintedSceneMatchesTheArtworkComposedByHand) {
    const Pixel black = Rgb(0, 0, 0), white = Rgb(255, 255, 255), darkRed = Rgb(132, 0, 0);
    const LogFont captionFont = BoldSwissFont(16);

    // The scene, bottom to top.
    auto* back = Place(new Image(&screen, res::kGameBackground), 0, 0, 0);
    screen.background = back;
    auto* scale = Place(new Animation(&screen, res::kScale, 3, 6), 0, 0, 2);
    scale->SetVisible(true);
    scale->SetFrame(1);
    Place(new Image(&screen, res::kKeypadPanel), 0, 245, 4);
    auto* key = Place(new Button(&screen, res::kKeypadKey), 20, 260, 6);
    key->SetIcon(res::kBinIcon);
    key->SetCaption(u"5", white, captionFont);
    key->enabled = true;
    Place(new Button(&screen, res::kKeypadKey), 60, 260, 6);  // released, bare
    Place(new Weight(&screen, 12, res::kYellowWeight, true), 100, 150, 8);
    auto* hidden = Place(new Weight(&screen, 30, res::kGreyWeight, false), 130, 150, 8);
    hidden->RenderQuestionMark();
    auto* flash = Place(new Animation(&screen, res::kPanFlash, 5, 4), 5, 120, 9);
    flash->SetVisible(true);
    flash->SetFrame(1);
    screen.OnPenDown(25, 265);
    ASSERT_TRUE(key->pressed);
    screen.Paint(hp.window, true);

    // The same scene composed from the decoded pictures.
    Surface want = *Source(res::kGameBackground);
    const auto scaleStrip = Source(res::kScale);
    KeyedOver(want, 0, 0, *scaleStrip, 240, 0, 240, 320);
    const auto panel = Source(res::kKeypadPanel);
    KeyedOver(want, 0, 245, *panel, 0, 0, panel->Width(), panel->Height());
    const auto faces = Source(res::kKeypadKey);
    const int faceW = faces->Width() / 2, faceH = faces->Height();
    Surface pressedFace(faceW, faceH), normalFace(faceW, faceH);
    CopyOpaque(pressedFace, 0, 0, faceW, faceH, *faces, faceW, 0);
    CopyOpaque(normalFace, 0, 0, faceW, faceH, *faces, 0, 0);
    CentredOver(pressedFace, *Source(res::kBinIcon));
    Text caption(&screen, u"5", white, captionFont);
    CentredOver(pressedFace, *caption.GetSurface());
    KeyedOver(want, 20, 260, pressedFace, 0, 0, faceW, faceH);
    KeyedOver(want, 60, 260, normalFace, 0, 0, faceW, faceH);
    Surface yellow = *Source(res::kYellowWeight);
    Text number(&screen, u"12", black);
    CentredOver(yellow, *number.GetSurface());
    KeyedOver(want, 100, 150, yellow, 0, 0, yellow.Width(), yellow.Height());
    Surface grey = *Source(res::kGreyWeight);
    Text question(&screen, u"?", darkRed);
    CentredOver(grey, *question.GetSurface());
    KeyedOver(want, 130, 150, grey, 0, 0, grey.Width(), grey.Height());
    const auto flashStrip = Source(res::kPanFlash);
    const int flashW = flashStrip->Width() / 5;
    KeyedOver(want, 5, 120, *flashStrip, flashW, 0, flashW, flashStrip->Height());

    const Surface& shown = hp.window.Shown();
    int mismatches = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            if (shown.At(x, y) != want.At(x, y) && ++mismatches <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << " shows " << shown.At(x, y)
                              << " expected " << want.At(x, y);
    EXPECT_EQ(mismatches, 0);

    // The labels really are in the picture, in their own colours.
    const auto numberPixels = LabelPixels(*number.GetSurface(), 100, 150, yellow.Width(), yellow.Height());
    ASSERT_FALSE(numberPixels.empty());
    for (auto [x, y] : numberPixels) EXPECT_EQ(shown.At(x, y), black) << x << "," << y;
    for (auto [x, y] : LabelPixels(*question.GetSurface(), 130, 150, grey.Width(), grey.Height()))
        EXPECT_EQ(shown.At(x, y), darkRed) << x << "," << y;

    // Where the scale's frame is transparent, the background shows through.
    const auto background = Source(res::kGameBackground);
    int seeThrough = 0;
    for (int y = 0; y < 245; ++y)
        for (int x = 0; x < 240; ++x)
            seeThrough += scaleStrip->At(240 + x, y) == KeyColour && shown.At(x, y) == background->At(x, y);
    EXPECT_GT(seeThrough, 1000);

    // No label leaves a pink fringe: pink shows only where the opaque
    // background itself is pink.
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            if (shown.At(x, y) == KeyColour) {
                ASSERT_EQ(background->At(x, y), KeyColour) << x << "," << y;
            }
}

TEST_F(PictureTest, ReleasingAKeyRepaintsOnlyItsRectangleWithTheNormalFace) {
    auto* back = Place(new Image(&screen, res::kGameBackground), 0, 0, 0);
    screen.background = back;
    auto* key = Place(new Button(&screen, res::kKeypadKey), 100, 100, 6);
    key->enabled = true;
    screen.active = true;
    screen.OnPenDown(110, 110);
    screen.Paint(hp.window, true);
    screen.Tick(1000);  // starts the throttle clock; nothing is dirty after a full paint
    const int before = hp.window.presentCount;

    screen.OnPenUp(0, 0);
    screen.Tick(1042);
    EXPECT_EQ(hp.window.presentCount, before);
    screen.Tick(1043);
    ASSERT_EQ(hp.window.presentCount, before + 1);
    const Rect r = hp.window.lastPresented;
    EXPECT_EQ(r, (Rect{100, 100, 100 + key->GetWidth() + 1, 100 + key->GetHeight() + 1}));

    const auto faces = Source(res::kKeypadKey);
    const auto background = Source(res::kGameBackground);
    const Surface& shown = hp.window.Shown();
    for (int y = 0; y < key->GetHeight(); ++y)
        for (int x = 0; x < key->GetWidth(); ++x) {
            const Pixel face = faces->At(x, y);
            ASSERT_EQ(shown.At(100 + x, 100 + y), face == KeyColour ? background->At(100 + x, 100 + y) : face)
                << x << "," << y;
        }
}

}  // namespace
}  // namespace pw
