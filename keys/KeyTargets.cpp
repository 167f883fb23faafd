#include "keys/KeyTargets.h"

#include <algorithm>

#include "scene/Figure.h"
#include "scene/Screen.h"

namespace pw {

bool KeyTargets::Answers(const Figure& element) { return element.visible && element.enabled; }

Point KeyTargets::Centre(const Figure& element) {
    return Point{element.GetX() + element.GetWidth() / 2, element.GetY() + element.GetHeight() / 2};
}

bool KeyTargets::ReachedAt(const Screen& screen, const Figure& element, Point at) {
    for (auto* node = screen.elements.tail; node != nullptr; node = node->prev) {
        const Figure* f = node->item;
        // The screen's own hit test: right and bottom edges count as inside.
        const bool hit = f->visible && f->GetX() <= at.x && at.x <= f->GetX() + f->GetWidth() &&
                         f->GetY() <= at.y && at.y <= f->GetY() + f->GetHeight();
        if (!hit) continue;
        if (f == &element) return f->enabled;
        if (!f->passThrough) return false;
    }
    return false;
}

std::vector<Figure*> KeyTargets::MovableWeights(const Screen& screen) {
    std::vector<Figure*> weights;
    for (auto* node = screen.elements.head; node != nullptr; node = node->next) {
        Figure* f = node->item;
        if (f->draggable && Answers(*f) && f->IsKind(u"Weight")) weights.push_back(f);
    }
    std::stable_sort(weights.begin(), weights.end(), [](const Figure* a, const Figure* b) {
        return a->GetY() != b->GetY() ? a->GetY() < b->GetY() : a->GetX() < b->GetX();
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
