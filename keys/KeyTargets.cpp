#include "keys/KeyTargets.h"

#include <algorithm>

namespace pw {

std::vector<size_t> KeyTargets::MovableWeights(const GameView& view) {
    std::vector<size_t> weights;
    for (size_t i = 0; i < view.elements.size(); ++i) {
        const ViewElement& e = view.elements[i];
        if (e.isWeight && e.movable && Answers(e)) weights.push_back(i);
    }
    std::stable_sort(weights.begin(), weights.end(), [&view](size_t a, size_t b) {
        const ViewElement& ea = view.elements[a];
        const ViewElement& eb = view.elements[b];
        return ea.y != eb.y ? ea.y < eb.y : ea.x < eb.x;
    });
    return weights;
}

WindowEvent KeyTargets::Stylus(WindowEvent::Type type, Point at) {
    WindowEvent e;
    e.type = type;
    e.x = at.x;
    e.y = at.y;
    e.primaryOnly = true;
    return e;
}

}  // namespace pw
