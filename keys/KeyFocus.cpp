#include "keys/KeyFocus.h"

#include <algorithm>
#include <vector>

#include "keys/KeyTargets.h"

namespace pw {

int KeyFocus::Current(const GameView& view) const {
    if (!place_) return kNone;
    for (size_t i = 0; i < view.elements.size(); ++i) {
        const ViewElement& e = view.elements[i];
        if (e.isWeight && e.movable && e.homeX == *place_) return static_cast<int>(i);
    }
    return kNone;
}

void KeyFocus::Step(const GameView& view, int step) {
    const std::vector<size_t> weights = KeyTargets::MovableWeights(view);
    if (weights.empty()) return;
    const int count = static_cast<int>(weights.size());
    const int current = Current(view);
    const auto at = std::find(weights.begin(), weights.end(), static_cast<size_t>(current));
    if (current == kNone || at == weights.end())
        return Take(view.elements[step > 0 ? weights.front() : weights.back()]);
    const int index = static_cast<int>(at - weights.begin());
    Take(view.elements[weights[static_cast<size_t>(((index + step) % count + count) % count)]]);
}

bool KeyFocus::AtEnd(const GameView& view, int step) const {
    const std::vector<size_t> weights = KeyTargets::MovableWeights(view);
    const int current = Current(view);
    if (weights.empty() || current == kNone) return false;
    return static_cast<size_t>(current) == (step > 0 ? weights.back() : weights.front());
}

void KeyFocus::Follow(const GameView* view, int carried) {
    if (!shown_ || view == nullptr) return Ring(Rect{});
    if (carried != kNone) return Ring(view->elements[static_cast<size_t>(carried)].Bounds());
    int focused = Current(*view);
    if (focused == kNone) {
        const std::vector<size_t> weights = KeyTargets::MovableWeights(*view);
        if (!weights.empty()) {
            focused = static_cast<int>(weights.front());
            Take(view->elements[weights.front()]);
        }
    }
    // A weight the game holds still for a while (the options panel is open,
    // the scale flashes) keeps its place in the ring for afterwards.
    if (focused == kNone || !KeyTargets::Answers(view->elements[static_cast<size_t>(focused)]))
        return Ring(Rect{});
    Ring(view->elements[static_cast<size_t>(focused)].Bounds());
}

void KeyFocus::Ring(const Rect& area) {
    if (area == ringed_) return;
    ringed_ = area;
    window_.ShowFocusRing(area);
}

}  // namespace pw
