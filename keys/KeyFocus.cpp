#include "keys/KeyFocus.h"

#include <algorithm>
#include <vector>

#include "keys/KeyTargets.h"
#include "elements/Weight.h"
#include "scene/Screen.h"

namespace pw {

namespace {

const Weight* AsWeight(const Figure* f) {
    return f != nullptr && f->draggable && f->IsKind(u"Weight") ? static_cast<const Weight*>(f) : nullptr;
}

}  // namespace

Figure* KeyFocus::Current(const Screen& screen) const {
    if (!place_) return nullptr;
    for (auto* node = screen.elements.head; node != nullptr; node = node->next) {
        const Weight* weight = AsWeight(node->item);
        if (weight != nullptr && weight->homeX == *place_) return node->item;
    }
    return nullptr;
}

void KeyFocus::Take(const Figure* weight) {
    const Weight* w = AsWeight(weight);
    if (w != nullptr) place_ = w->homeX;
}

void KeyFocus::Step(const Screen& screen, int step) {
    const std::vector<Figure*> weights = KeyTargets::MovableWeights(screen);
    if (weights.empty()) return;
    const int count = static_cast<int>(weights.size());
    const auto at = std::find(weights.begin(), weights.end(), Current(screen));
    if (at == weights.end()) return Take(step > 0 ? weights.front() : weights.back());
    const int index = static_cast<int>(at - weights.begin());
    Take(weights[static_cast<size_t>(((index + step) % count + count) % count)]);
}

void KeyFocus::Follow(const Screen* screen, const Figure* carried) {
    if (!shown_ || screen == nullptr) return Ring(Rect{});
    if (carried != nullptr) return Ring(carried->GetBounds());
    Figure* focused = Current(*screen);
    if (focused == nullptr) {
        const std::vector<Figure*> weights = KeyTargets::MovableWeights(*screen);
        if (!weights.empty()) Take(focused = weights.front());
    }
    // A weight the game holds still for a while (the options panel is open,
    // the scale flashes) keeps its place in the ring for afterwards.
    if (focused == nullptr || !KeyTargets::Answers(*focused)) return Ring(Rect{});
    Ring(focused->GetBounds());
}

void KeyFocus::Ring(const Rect& area) {
    if (area == ringed_) return;
    ringed_ = area;
    window_.ShowFocusRing(area);
}

}  // namespace pw
