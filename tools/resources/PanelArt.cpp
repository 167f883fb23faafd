#include <algorithm>
#include <cmath>

#include "Artwork.h"

namespace pw::tool {

namespace {

// Centres a lettering canvas on the rectangle (x, y, w, h) of the target.
void PlaceCentred(Canvas& target, const Canvas& text, int x, int y, int w, int h) {
    target.Blit(text, x + (w - text.Width()) / 2, y + (h - text.Height()) / 2);
}

// The panel the keypad sits on (240 x 75, shown at the bottom of the screen). The keys cover two blocks
// of it; the gap between them carries an engraved question mark.
Canvas KeypadPanel(const Lettering& lettering) {
    const Rgb face{70, 80, 102}, rim{156, 166, 188}, rimShade{108, 118, 140}, well{52, 60, 78};
    const Rgb engraved{98, 110, 136}, engravedShade{40, 46, 62}, screw{170, 178, 196};
    Canvas panel(240, 75, face);
    panel.FillRect(0, 0, 240, 2, rim);
    panel.FillRect(0, 2, 240, 1, rimShade);
    panel.FillRect(0, 13, 151, 62, well);  // recess behind the keys
    panel.FillRect(209, 13, 31, 62, well);
    for (int x : {157, 202})
        for (int y : {20, 66}) {
            panel.FillRect(x - 1, y - 1, 3, 3, screw);
            panel.Set(x, y, engravedShade);
        }
    const Canvas shade = lettering.Render("?", 30, engravedShade);
    const Canvas mark = lettering.Render("?", 30, engraved);
    PlaceCentred(panel, shade, 151, 14, 58, 61);
    PlaceCentred(panel, mark, 150, 13, 58, 61);
    return panel;
}

// The OK button in 256 colours: two 40 x 20 faces with a green gradient, the pressed one darker.
Canvas OkButton(const Lettering& lettering) {
    Canvas button(80, 20);
    for (int f = 0; f < 2; ++f) {
        const bool pressed = f == 1;
        Canvas face(40, 20);
        for (int y = 0; y < 20; ++y) {
            const double t = y / 19.0;
            const double k = pressed ? 0.72 + 0.12 * t : 1.0 - 0.38 * t;
            face.FillRect(0, y, 40, 1,
                          Rgb{static_cast<uint8_t>(96 * k), static_cast<uint8_t>(196 * k),
                              static_cast<uint8_t>(96 * k)});
        }
        for (int x : {0, 39})
            for (int y : {0, 19}) face.Set(x, y, kKeyColour);
        face.EdgeShapes(Rgb{18, 64, 20});
        const Canvas label = lettering.Render("OK", 11, Rgb{255, 255, 255});
        const Canvas shadow = lettering.Render("OK", 11, Rgb{20, 70, 24});
        const int shift = pressed ? 1 : 0;
        PlaceCentred(face, shadow, 1 + shift, 1 + shift, 40, 20);
        PlaceCentred(face, label, shift, shift, 40, 20);
        button.Blit(face, 40 * f, 0, false);
    }
    return button;
}

// An empty check box: white inside, a grey inner shadow at its top and left.
void CheckBox(Canvas& panel, int x, int y, int size, Rgb frame) {
    panel.FillRect(x, y, size, size, frame);
    panel.FillRect(x + 1, y + 1, size - 2, size - 2, Rgb{255, 255, 255});
    panel.FillRect(x + 1, y + 1, size - 2, 1, Rgb{176, 176, 170});
    panel.FillRect(x + 1, y + 1, 1, size - 2, Rgb{176, 176, 170});
}

// The options panel, 240 x 100, shown at (0, 100). The game places its level number, arrows, ticks and
// OK button over the spots left for them here.
Canvas OptionsPanel(const Lettering& lettering) {
    const Rgb outline{34, 36, 56}, frame{88, 110, 152}, frameLight{150, 170, 206}, frameShade{58, 74, 108};
    const Rgb paper{246, 240, 220}, ink{30, 30, 62};
    Canvas panel(240, 100, outline);
    panel.FillRect(1, 1, 238, 98, frame);
    panel.FillRect(1, 1, 238, 1, frameLight);
    panel.FillRect(1, 1, 1, 98, frameLight);
    panel.FillRect(1, 98, 238, 1, frameShade);
    panel.FillRect(238, 1, 1, 98, frameShade);
    panel.FillRect(4, 4, 232, 92, frameShade);
    panel.FillRect(5, 5, 231, 91, paper);
    // "Current Level": the number box at (18, 7), flanked by the arrow buttons at x 11 and 36.
    CheckBox(panel, 18, 7, 20, outline);
    // "Automatic Leveling" and "Reset Score": boxes around the 10 x 10 ticks at (23, 33) and (23, 53).
    CheckBox(panel, 21, 31, 15, outline);
    CheckBox(panel, 21, 51, 15, outline);
    const int rowCentres[3] = {17, 38, 58};
    const char* labels[3] = {"Current Level", "Automatic Leveling", "Reset Score"};
    const int labelX[3] = {52, 44, 44};
    for (int i = 0; i < 3; ++i) {
        const Canvas text = lettering.Render(labels[i], 11, ink);
        panel.Blit(text, labelX[i], rowCentres[i] - text.Height() / 2);
    }
    return panel;
}

// A small bevelled button face of the given size, raised or pushed in.
Canvas ButtonFace(int w, int h, bool pressed) {
    const Rgb outline{40, 46, 64}, face{176, 190, 214}, pressedFace{136, 150, 178};
    const Rgb hi{236, 242, 252}, lo{110, 122, 150};
    Canvas out(w, h, outline);
    out.FillRect(1, 1, w - 2, h - 2, pressed ? pressedFace : face);
    if (pressed) {
        out.FillRect(1, 1, w - 2, 1, lo);
        out.FillRect(1, 1, 1, h - 2, lo);
    } else {
        out.FillRect(1, 1, w - 2, 1, hi);
        out.FillRect(1, 1, 1, h - 2, hi);
        out.FillRect(1, h - 2, w - 2, 1, lo);
        out.FillRect(w - 2, 1, 1, h - 2, lo);
    }
    for (int x : {0, w - 1})
        for (int y : {0, h - 1}) out.Set(x, y, kKeyColour);
    return out;
}

// The options button: a gear on two 20 x 20 faces.
Canvas OptionsButton() {
    Canvas button(40, 20);
    const Rgb gear{44, 54, 80};
    for (int f = 0; f < 2; ++f) {
        const bool pressed = f == 1;
        Canvas face = ButtonFace(20, 20, pressed);
        const double c = 10 + (pressed ? 1 : 0);
        for (int tooth = 0; tooth < 8; ++tooth) {
            const double a = tooth * M_PI / 4;
            face.ThickLine({c + std::cos(a) * 3, c + std::sin(a) * 3},
                           {c + std::cos(a) * 7.8, c + std::sin(a) * 7.8}, 2.0, gear);
        }
        face.FillCircle(c, c, 5.6, gear);
        face.FillCircle(c, c, 2.4, pressed ? Rgb{136, 150, 178} : Rgb{176, 190, 214});
        button.Blit(face, 20 * f, 0, false);
    }
    return button;
}

// A level arrow: two 10 x 15 faces with a triangle pointing up or down.
Canvas LevelArrow(bool up) {
    Canvas arrow(20, 15);
    const Rgb mark{44, 54, 80};
    for (int f = 0; f < 2; ++f) {
        const bool pressed = f == 1;
        Canvas face = ButtonFace(10, 15, pressed);
        const double shift = pressed ? 1 : 0;
        const double tipY = (up ? 4 : 11) + shift, baseY = (up ? 10 : 5) + shift;
        face.FillPolygon({{5 + shift, tipY}, {8.6 + shift, baseY}, {1.4 + shift, baseY}}, mark);
        arrow.Blit(face, 10 * f, 0, false);
    }
    return arrow;
}

}  // namespace

std::vector<NumberedBitmap> MakePanelArt(const Lettering& lettering) {
    return {{309, 4, KeypadPanel(lettering)},  {310, 8, OkButton(lettering)},
            {311, 4, OptionsPanel(lettering)}, {312, 4, OptionsButton()},
            {313, 4, LevelArrow(true)},        {314, 4, LevelArrow(false)}};
}

}  // namespace pw::tool
