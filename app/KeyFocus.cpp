#include "app/KeyFocus.h"

#include <algorithm>
#include <vector>

#include "app/KeyTargets.h"
#include "scene/Figure.h"
#include "scene/Screen.h"

namespace pw {

Figure* KeyFocus::Current(const Screen& screen) {
    // Checked as listed before anything is read from it: the game deletes
    // every weight when it builds the next puzzle.
    if (!KeyTargets::Listed(screen, focused_) || !focused_->draggable || !focused_->IsKind(u"Weight"))
        focused_ = nullptr;
    return focused_;
}

void KeyFocus::Step(const Screen& screen, int step) {
    const std::vector<Figure*> weights = KeyTargets::MovableWeights(screen);
    if (weights.empty()) return;
    const int count = static_cast<int>(weights.size());
    const auto at = std::find(weights.begin(), weights.end(), Current(screen));
    if (at == weights.end()) {
        focused_ = step > 0 ? weights.front() : weights.back();
        return;
    }
    const int index = static_cast<int>(at - weights.begin());
    focused_ = weights[static_cast<size_t>(((index + step) % count + count) % count)];
}

void KeyFocus::Follow(const Screen* screen, const Figure* carried) {
    if (!shown_ || screen == nullptr) return Ring(Rect{});
    if (carried != nullptr) return Ring(carried->GetBounds());
    if (Current(*screen) == nullptr) {
        const std::vector<Figure*> weights = KeyTargets::MovableWeights(*screen);
        if (!weights.empty()) focused_ = weights.front();
    }
    // A weight the game holds still for a while (the options panel is open,
    // the scale flashes) keeps its place in the ring for afterwards.
    if (focused_ == nullptr || !KeyTargets::Answers(*focused_)) return Ring(Rect{});
    Ring(focused_->GetBounds());
}

void KeyFocus::Ring(const Rect& area) {
    if (area == ringed_) return;
    ringed_ = area;
    window_.ShowFocusRing(area);
}

}  // namespace pw
