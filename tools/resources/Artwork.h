#pragma once
// Every picture of the game, painted from code. Each function returns finished canvases in the shape the
// game loads them: faces and frames side by side.
#include <vector>

#include "Canvas.h"
#include "Lettering.h"

namespace pw::tool {

struct NumberedBitmap {
    int id;
    int bitsPerPixel;
    Canvas canvas;
};

// The balance scale in its three tilts (301) and the flash over its level pans (305).
std::vector<NumberedBitmap> MakeScaleArt();
// Weights (302, 303), keypad key (306), bin (307), bulb (308), tick (315), close icon (205).
std::vector<NumberedBitmap> MakePieceArt();
// Keypad panel (309), OK button (310), options panel (311), options button (312), level arrows (313, 314).
std::vector<NumberedBitmap> MakePanelArt(const Lettering& lettering);
// The title picture (300) and the game background (304).
std::vector<NumberedBitmap> MakeSceneArt(const Lettering& lettering);

// The application icon drawn for a square of the given size (16, 32, 128).
Canvas MakeIcon(int size);

// The balance scale's face of the game, shared by the scale frames and the flash that must cover its pans.
struct GameScale {
    static constexpr int kFrameWidth = 240;
    static constexpr int kFrameHeight = 320;
    static constexpr int kTilt = 20;  // pans move 20 pixels up or down from level
};

}  // namespace pw::tool
