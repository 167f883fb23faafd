#pragma once
// The balance scale, drawn from its geometry so that the game's scale, the title picture and the icon
// share one look and the pans land exactly where the game stands its weights.
#include <vector>

#include "Canvas.h"

namespace pw::tool {

struct BalanceColours {
    Rgb outline, brassDark, brassMid, brassLight, woodDark, woodMid, woodLight, cord, dial;
};

struct BalanceShape {
    int pivotX = 121, pivotY = 78;
    int arm = 70;      // horizontal distance from the pivot to each pan's hanging point
    int tilt = 0;      // how far the left hanging point sits below the pivot (the right one as far above)
    int panDrop = 82;  // from a hanging point down to the top surface of its pan
    int panHalfWidth = 39;
    int panDepth = 11;  // rows of the dish, the top surface row included
    double beamWidth = 7;
    double beamOverhang = 8;
    double knobRadius = 4.5;
    double ringRadius = 3;
    double pivotRadius = 6;
    double dialRadius = 19;
    double needleLength = 17;
    int postHalfWidth = 5;
    int baseTop = 226, baseBottom = 250, baseHalfWidth = 42;
    int cordInset = 3;  // cords start this far inside the pan's rim
};

// Half-widths of a pan dish, one per row from its top surface down: a lip, then a rounded bowl.
std::vector<int> PanProfile(int halfWidth, int depth);

// Fills the dish of a pan whose top surface row is surfaceY, in one colour with an edge colour; the pan
// flash paints exactly this shape.
void FillPanShape(Canvas& canvas, int centreX, int surfaceY, const std::vector<int>& profile, Rgb fill,
                  Rgb edge);

void DrawBalance(Canvas& canvas, const BalanceShape& shape, const BalanceColours& colours);

// Where the pans' top surfaces are for a shape.
int LeftPanSurface(const BalanceShape& shape);
int RightPanSurface(const BalanceShape& shape);

}  // namespace pw::tool
