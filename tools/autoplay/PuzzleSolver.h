#pragma once
// Finds how to balance the scale with the fewest tray weights: which tray
// weight goes onto which pan, given what already lies on the pans. Pure: it
// knows nothing of screens or elements beyond how many weights a pan holds,
// so tests and the autoplayer share it.
#include <cstdint>
#include <vector>

namespace pw {

enum class PanSide { Left, Right };

struct TrayPlacement {
    int32_t trayIndex = 0;
    PanSide pan = PanSide::Left;
};

struct PuzzleSolution {
    // False when no placement within the pans' capacity balances the scale.
    bool found = false;
    // In ascending tray order; empty when the scale is level already.
    std::vector<TrayPlacement> placements;
};

class PuzzleSolver {
public:
    // leftMasses and rightMasses lie on the pans for good (they count toward
    // each pan's capacity); tray holds the masses that may be put on either
    // pan or left in the tray. Among the placements with the fewest weights
    // moved, one that uses earlier tray weights, and the left pan before the
    // right, is preferred.
    static PuzzleSolution Solve(const std::vector<int32_t>& leftMasses,
                                const std::vector<int32_t>& rightMasses, const std::vector<int32_t>& tray);

private:
    struct Search;
};

}  // namespace pw
