#include <algorithm>
#include <cmath>

#include "Artwork.h"

namespace pw::tool {

namespace {

struct Shades {
    Rgb outline, dark, body, light, shine;
};

// A cylindrical weight with a knob, 20 x 30. The game prints its number across the middle, so the body
// stays light there.
Canvas Weight(const Shades& s) {
    Canvas piece(20, 30);
    // Body columns: a shine stripe left of centre, shade towards the right.
    auto columnColour = [&](int x) {
        if (x >= 3 && x <= 4) return s.shine;
        if (x == 2 || x == 5) return s.light;
        if (x >= 16) return s.dark;
        return s.body;
    };
    for (int y = 6; y < 28; ++y)
        for (int x = 0; x < 20; ++x) piece.Set(x, y, columnColour(x));
    Canvas bottom(20, 30);
    bottom.FillEllipse(10, 27, 10, 2.6, s.dark);
    for (int y = 27; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            if (!bottom.IsKey(x, y)) piece.Set(x, y, columnColour(x) == s.shine ? s.light : columnColour(x));
    piece.FillEllipse(10, 6, 10, 2.6, s.light);
    // The rim where the top face meets the side.
    for (int x = 1; x < 19; ++x) {
        const double dx = (x + 0.5 - 10) / 10;
        const int y = static_cast<int>(6 + 2.6 * std::sqrt(1 - dx * dx));
        piece.Set(x, std::min(y, 8), s.dark);
    }
    // Knob and its neck.
    piece.FillRect(8, 2, 4, 3, s.body);
    piece.FillEllipse(10, 2, 3.2, 2.2, s.light);
    piece.Set(9, 1, s.shine);
    piece.EdgeShapes(s.outline);
    return piece;
}

// A keypad key: two 30 x 30 faces, raised and pushed in.
Canvas KeyFaces() {
    const Rgb outline{56, 60, 72}, face{222, 222, 212}, pressedFace{186, 188, 180};
    const Rgb hi{252, 252, 248}, lo{140, 142, 150}, deep{112, 114, 124};
    Canvas key(60, 30);
    for (int f = 0; f < 2; ++f) {
        const int ox = 30 * f;
        const bool pressed = f == 1;
        key.FillRect(ox, 0, 30, 30, outline);
        key.FillRect(ox + 1, 1, 28, 28, pressed ? pressedFace : face);
        if (pressed) {
            key.FillRect(ox + 1, 1, 28, 2, deep);
            key.FillRect(ox + 1, 1, 2, 28, deep);
        } else {
            key.FillRect(ox + 1, 1, 28, 2, hi);
            key.FillRect(ox + 1, 1, 2, 28, hi);
            key.FillRect(ox + 1, 27, 28, 2, lo);
            key.FillRect(ox + 27, 1, 2, 28, lo);
        }
        for (int corner : {0, 29}) {  // rounded corners
            key.Set(ox + corner, 0, kKeyColour);
            key.Set(ox + corner, 29, kKeyColour);
        }
    }
    return key;
}

Canvas WasteBin() {
    const Rgb outline{36, 44, 58}, body{128, 148, 170}, light{184, 202, 220}, dark{86, 102, 122};
    Canvas bin(20, 20);
    bin.FillPolygon({{4, 6}, {16, 6}, {15, 19}, {5, 19}}, body);
    bin.FillRect(5, 7, 2, 11, light);
    for (int x : {8, 11, 14}) bin.FillRect(x, 8, 1, 9, dark);
    bin.FillRect(2, 3, 16, 3, light);
    bin.FillRect(2, 5, 16, 1, body);
    bin.FillRect(7, 1, 6, 2, body);
    bin.FillRect(9, 1, 2, 1, kKeyColour);
    bin.FillRect(9, 2, 2, 1, kKeyColour);
    bin.EdgeShapes(outline);
    return bin;
}

// A light bulb, 16 x 20 in 256 colours: the glass glows from a bright spot at its upper left.
Canvas LightBulb() {
    Canvas bulb(16, 20);
    const double cx = 8, cy = 7.2, r = 7;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 16; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy > r * r) continue;
            const double spot = std::hypot(x + 0.5 - 6, y + 0.5 - 4.5) / 9.0;  // 0 at the spot
            const double t = std::min(1.0, spot);
            bulb.Set(x, y, Rgb{255, static_cast<uint8_t>(252 - 70 * t), static_cast<uint8_t>(210 - 200 * t)});
        }
    bulb.FillPolygon({{4.5, 11}, {11.5, 11}, {10.5, 14}, {5.5, 14}}, Rgb{255, 196, 24});
    // Filament.
    const Rgb glow{214, 96, 0};
    bulb.Line(6, 9, 7, 7, glow);
    bulb.Line(7, 7, 8, 9, glow);
    bulb.Line(8, 9, 9, 7, glow);
    bulb.Line(9, 7, 10, 9, glow);
    // Screw base in bands.
    for (int y = 14; y < 19; ++y)
        bulb.FillRect(5, y, 6, 1, y % 2 == 0 ? Rgb{196, 196, 204} : Rgb{128, 128, 140});
    bulb.FillRect(7, 19, 2, 1, Rgb{70, 70, 80});
    bulb.EdgeShapes(Rgb{110, 74, 8});
    for (int y = 14; y < 19; ++y) {  // the metal base keeps a grey edge
        bulb.Set(5, y, Rgb{90, 90, 100});
        bulb.Set(10, y, Rgb{90, 90, 100});
    }
    return bulb;
}

Canvas Tick() {
    Canvas tick(10, 10);
    const Rgb green{24, 150, 40};
    tick.ThickLine({1.2, 5.0}, {4.0, 8.0}, 2.6, green);
    tick.ThickLine({3.4, 8.2}, {9.0, 1.2}, 2.6, green);
    tick.EdgeShapes(Rgb{8, 76, 16});
    return tick;
}

Canvas CloseIcon() {
    Canvas icon(20, 20);
    const Rgb red{206, 34, 34}, light{244, 104, 96}, shade{150, 14, 14}, outline{84, 0, 0};
    icon.FillRect(0, 0, 20, 20, red);
    icon.FillRect(1, 1, 18, 1, light);
    icon.FillRect(1, 1, 1, 18, light);
    icon.FillRect(1, 18, 18, 1, shade);
    icon.FillRect(18, 1, 1, 18, shade);
    for (int x : {0, 19})
        for (int y : {0, 19}) icon.Set(x, y, kKeyColour);
    icon.EdgeShapes(outline);
    const Rgb white{255, 255, 255};
    icon.ThickLine({5.2, 5.2}, {14.8, 14.8}, 2.8, white);
    icon.ThickLine({14.8, 5.2}, {5.2, 14.8}, 2.8, white);
    return icon;
}

}  // namespace

std::vector<NumberedBitmap> MakePieceArt() {
    const Shades yellow{{112, 70, 0}, {214, 162, 18}, {252, 214, 52}, {255, 234, 130}, {255, 250, 206}};
    const Shades grey{{64, 66, 76}, {150, 152, 162}, {204, 206, 212}, {226, 228, 234}, {248, 248, 252}};
    return {{205, 4, CloseIcon()}, {302, 4, Weight(yellow)}, {303, 4, Weight(grey)}, {306, 4, KeyFaces()},
            {307, 4, WasteBin()},  {308, 8, LightBulb()},    {315, 4, Tick()}};
}

}  // namespace pw::tool
