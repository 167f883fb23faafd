#include <algorithm>

#include "Artwork.h"
#include "BalanceArt.h"

namespace pw::tool {

namespace {

// A fixed pseudo-random sequence, so every run paints the same wood grain.
class Grain {
public:
    explicit Grain(unsigned seed) : state_(seed) {}
    int Next(int n) {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) % static_cast<unsigned>(n));
    }

private:
    unsigned state_;
};

// Thin darker streaks along the planks of a wooden surface.
void WoodGrain(Canvas& canvas, int top, int bottom, Rgb streak, unsigned seed, int count) {
    Grain grain(seed);
    for (int i = 0; i < count; ++i) {
        const int y = top + grain.Next(bottom - top);
        const int x = grain.Next(canvas.Width());
        canvas.FillRect(x, y, 12 + grain.Next(40), 1, streak);
    }
}

struct Book {
    int x, y, w, h;
    Rgb cover;
};

// A book lying flat, its spine towards the viewer, with gilt bands and a title plate.
void DrawBook(Canvas& canvas, const Book& b, Rgb gold, Rgb outline) {
    Canvas layer(canvas.Width(), canvas.Height());
    layer.FillRect(b.x, b.y, b.w, b.h, b.cover);
    layer.FillRect(b.x + 4, b.y + 1, 1, b.h - 2, gold);
    layer.FillRect(b.x + b.w - 5, b.y + 1, 1, b.h - 2, gold);
    layer.FillRect(b.x + b.w / 2 - 8, b.y + b.h / 2 - 1, 16, 2, gold);
    layer.EdgeShapes(outline);
    canvas.Blit(layer, 0, 0);
}

// The game background: a dark wall over a wooden table that carries a stack of books and a tray for
// the weights. The top strip stays dark for the score, and the tray floor is calm.
Canvas GameBackground() {
    const Rgb night{20, 24, 36}, wall{44, 56, 80}, wallStripe{52, 66, 94};
    const Rgb woodLight{152, 102, 60}, woodSeam{90, 58, 32}, table{122, 80, 45}, tableGrain{110, 71, 40};
    const Rgb shadow{70, 45, 26}, trayFloor{98, 63, 36};
    const Rgb red{150, 42, 40}, green{42, 102, 62}, blue{52, 72, 142}, gold{222, 182, 64};
    Canvas bg(240, 320, wall);
    for (int x = 6; x < 240; x += 16) bg.FillRect(x, 34, 3, 171, wallStripe);
    bg.FillRect(0, 0, 240, 31, night);
    bg.FillRect(0, 31, 240, 1, woodLight);  // picture rail under the dark strip
    bg.FillRect(0, 32, 240, 2, woodSeam);
    // Table top from its back edge down to the bottom of the screen.
    bg.FillRect(0, 205, 240, 115, table);
    bg.FillRect(0, 204, 240, 1, shadow);
    bg.FillRect(0, 205, 240, 2, woodLight);
    WoodGrain(bg, 209, 270, tableGrain, 7, 70);
    bg.FillRect(0, 240, 240, 1, woodSeam);
    // Shadow of the scale's foot.
    bg.FillEllipse(121.5, 250.5, 50, 3.5, shadow);
    // The weights' tray: a shallow recess with a lip at the front.
    bg.FillRect(10, 272, 220, 44, woodSeam);
    bg.FillRect(11, 273, 218, 42, woodLight);
    bg.FillRect(13, 275, 214, 38, shadow);
    bg.FillRect(13, 277, 214, 34, trayFloor);
    bg.FillRect(13, 311, 214, 2, woodSeam);
    bg.FillRect(0, 316, 240, 4, shadow);
    // The stack of books on the right of the table.
    const Book books[] = {
        {166, 233, 70, 12, red}, {171, 222, 62, 11, green}, {168, 213, 64, 9, blue}, {175, 205, 52, 8, red}};
    bg.FillRect(164, 245, 76, 2, shadow);
    for (const Book& b : books) DrawBook(bg, b, gold, night);
    return bg;
}

// The title picture: the name in large gilt letters over two balance scales standing on a table.
Canvas TitlePicture(const Lettering& lettering) {
    const Rgb sky0{12, 18, 42}, sky1{20, 32, 66}, sky2{30, 46, 90}, outline{16, 10, 30};
    const Rgb goldDark{156, 104, 30}, gold{232, 172, 52}, goldLight{255, 228, 124};
    const Rgb woodDark{84, 46, 24}, woodMid{134, 82, 40}, woodLight{180, 118, 62};
    const Rgb cord{62, 62, 76}, cream{238, 226, 194}, floor{30, 20, 16}, star{255, 255, 255};
    Canvas title(240, 320, sky0);
    title.FillRect(0, 90, 240, 70, sky1);
    title.FillRect(0, 160, 240, 80, sky2);
    // Checkered rows soften the steps between the bands of the sky: each side borrows the other's
    // colour, densely next to the step and sparsely further away.
    const Rgb bands[3] = {sky0, sky1, sky2};
    for (int step = 0; step < 2; ++step) {
        const int edge = step == 0 ? 90 : 160;
        for (int d = 0; d < 4; ++d) {
            const int spacing = d < 2 ? 2 : 4;
            for (int x = d % 2; x < 240; x += spacing) {
                title.Set(x, edge - 1 - d, bands[step + 1]);
                title.Set(x + 1, edge + d, bands[step]);
            }
        }
    }
    Grain stars(5);
    for (int i = 0; i < 26; ++i) title.Set(stars.Next(240), stars.Next(150), i % 3 ? cream : star);

    // Lettering: gold with a lighter upper half, a two-pixel dark outline and a drop shadow.
    auto word = [&](const char* text, int top) {
        Canvas fill = lettering.Render(text, 40, gold);
        for (int y = 0; y < fill.Height() * 11 / 20; ++y)
            for (int x = 0; x < fill.Width(); ++x)
                if (!fill.IsKey(x, y)) fill.Set(x, y, goldLight);
        Canvas framed(fill.Width() + 8, fill.Height() + 8);
        framed.Blit(fill, 4, 4);
        framed.OutlineShapes(goldDark);
        framed.OutlineShapes(outline);
        Canvas shadow = framed;
        for (int y = 0; y < shadow.Height(); ++y)
            for (int x = 0; x < shadow.Width(); ++x)
                if (!shadow.IsKey(x, y)) shadow.Set(x, y, outline);
        const int left = (240 - framed.Width()) / 2;
        title.Blit(shadow, left + 3, top + 3);
        title.Blit(framed, left, top);
    };
    word("Pivot", 6);
    word("Warden", 58);
    const Canvas tagline = lettering.Render("a puzzle of balance", 11, cream);
    title.Blit(tagline, (240 - tagline.Width()) / 2, 120);

    // The table and its dark front edge; the bottom strip carries the version and notice texts.
    title.FillRect(0, 236, 240, 64, woodMid);
    title.FillRect(0, 236, 240, 2, woodLight);
    WoodGrain(title, 240, 290, woodDark, 9, 40);
    title.FillRect(0, 290, 240, 10, woodDark);
    title.FillRect(0, 290, 240, 1, woodLight);
    title.FillRect(0, 300, 240, 20, floor);

    const BalanceColours colours{outline, goldDark,  gold, goldLight, woodDark,
                                 woodMid, woodLight, cord, cream};
    BalanceShape small;
    small.arm = 34;
    small.panDrop = 48;
    small.panHalfWidth = 19;
    small.panDepth = 7;
    small.beamWidth = 5;
    small.beamOverhang = 5;
    small.knobRadius = 3.2;
    small.ringRadius = 2;
    small.pivotRadius = 4;
    small.dialRadius = 12;
    small.needleLength = 11;
    small.postHalfWidth = 3;
    small.baseHalfWidth = 28;
    small.cordInset = 2;
    small.pivotY = 164;
    small.baseTop = 246;
    small.baseBottom = 264;
    BalanceShape leaning = small;
    leaning.pivotX = 60;
    leaning.tilt = 9;
    BalanceShape level = small;
    level.pivotX = 180;
    title.FillEllipse(leaning.pivotX + 0.5, 264.5, 34, 3, woodDark);
    title.FillEllipse(level.pivotX + 0.5, 264.5, 34, 3, woodDark);
    DrawBalance(title, leaning, colours);
    DrawBalance(title, level, colours);
    // Little weights on the pans: one heavy on the lowered pan, two lighter ones on the others.
    auto block = [&](int x, int surface, int w, int h) {
        Canvas piece(240, 320);
        piece.FillRect(x, surface - h, w, h, gold);
        piece.FillRect(x + 1, surface - h, 2, h, goldLight);
        piece.EdgeShapes(outline);
        title.Blit(piece, 0, 0);
    };
    block(leaning.pivotX - leaning.arm - 7, LeftPanSurface(leaning), 14, 16);
    block(leaning.pivotX + leaning.arm - 5, RightPanSurface(leaning), 10, 10);
    block(level.pivotX - level.arm - 5, LeftPanSurface(level), 10, 12);
    block(level.pivotX + level.arm - 11, RightPanSurface(level), 9, 9);
    block(level.pivotX + level.arm + 1, RightPanSurface(level), 9, 9);
    return title;
}

}  // namespace

std::vector<NumberedBitmap> MakeSceneArt(const Lettering& lettering) {
    return {{300, 4, TitlePicture(lettering)}, {304, 4, GameBackground()}};
}

}  // namespace pw::tool
