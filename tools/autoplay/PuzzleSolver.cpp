#include "tools/autoplay/PuzzleSolver.h"

#include <cstddef>

#include "game/GameScreen.h"

namespace pw {

// Iterative deepening: try every way of moving exactly k weights, for k from 0
// up, so that the first placement found moves the fewest weights.
struct PuzzleSolver::Search {
    const std::vector<int32_t>& tray;
    std::vector<TrayPlacement> chosen;

    // difference is left minus right so far; leftRoom and rightRoom are the
    // places still free on each pan.
    bool Place(size_t index, int32_t remaining, int64_t difference, int32_t leftRoom, int32_t rightRoom) {
        if (remaining == 0) return difference == 0;
        if (tray.size() - index < static_cast<size_t>(remaining)) return false;
        const int32_t mass = tray[index];
        const int32_t trayIndex = static_cast<int32_t>(index);
        if (leftRoom > 0) {
            chosen.push_back({trayIndex, PanSide::Left});
            if (Place(index + 1, remaining - 1, difference + mass, leftRoom - 1, rightRoom)) return true;
            chosen.pop_back();
        }
        if (rightRoom > 0) {
            chosen.push_back({trayIndex, PanSide::Right});
            if (Place(index + 1, remaining - 1, difference - mass, leftRoom, rightRoom - 1)) return true;
            chosen.pop_back();
        }
        return Place(index + 1, remaining, difference, leftRoom, rightRoom);
    }
};

PuzzleSolution PuzzleSolver::Solve(const std::vector<int32_t>& leftMasses,
                                   const std::vector<int32_t>& rightMasses,
                                   const std::vector<int32_t>& tray) {
    PuzzleSolution solution;
    const int32_t leftRoom = GameScreen::kPanCapacity - static_cast<int32_t>(leftMasses.size());
    const int32_t rightRoom = GameScreen::kPanCapacity - static_cast<int32_t>(rightMasses.size());
    if (leftRoom < 0 || rightRoom < 0) return solution;
    int64_t difference = 0;
    for (int32_t m : leftMasses) difference += m;
    for (int32_t m : rightMasses) difference -= m;

    Search search{tray, {}};
    const int32_t mostMoves = static_cast<int32_t>(tray.size());
    for (int32_t k = 0; k <= mostMoves && k <= leftRoom + rightRoom; ++k) {
        search.chosen.clear();
        if (search.Place(0, k, difference, leftRoom, rightRoom)) {
            solution.found = true;
            solution.placements = search.chosen;
            return solution;
        }
    }
    return solution;
}

}  // namespace pw
