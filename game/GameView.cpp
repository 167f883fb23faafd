#include "game/GameView.h"

#include "scene/Figure.h"
#include "scene/Screen.h"

namespace pw {

namespace {

// Kind names are plain ASCII and few: each is matched to a static string,
// so that reading a scene after every message allocates no text.
const char* KindName(const char16_t* name) {
    static const char* const kKinds[] = {"Image",     "Background", "Button", "Hotspot",
                                         "Animation", "Text",       "Weight"};
    for (const char* kind : kKinds) {
        const char16_t* n = name;
        const char* k = kind;
        while (*k != '\0' && *n == static_cast<char16_t>(*k)) ++n, ++k;
        if (*k == '\0' && *n == u'\0') return kind;
    }
    return "Figure";
}

}  // namespace

const ViewElement* GameView::Find(Control control) const {
    for (const ViewElement& e : elements)
        if (e.control == control) return &e;
    return nullptr;
}

bool GameView::ReachedAt(size_t i, int32_t x, int32_t y) const {
    for (size_t k = elements.size(); k-- > 0;) {
        const ViewElement& f = elements[k];
        // The screen's own hit test: right and bottom edges count as inside.
        const bool hit = f.visible && f.x <= x && x <= f.x + f.width && f.y <= y && y <= f.y + f.height;
        if (!hit) continue;
        if (k == i) return f.enabled;
        if (!f.passThrough) return false;
    }
    return false;
}

std::vector<ViewElement> ReadElements(const Screen& screen) {
    std::vector<ViewElement> out;
    out.reserve(static_cast<size_t>(screen.elements.count));
    for (auto* node = screen.elements.head; node != nullptr; node = node->next) {
        const Figure& f = *node->item;
        ViewElement e;
        e.kind = KindName(f.GetKindName());
        e.x = f.GetX();
        e.y = f.GetY();
        e.width = f.GetWidth();
        e.height = f.GetHeight();
        e.layer = f.GetLayer();
        e.visible = f.visible;
        e.enabled = f.enabled;
        e.passThrough = f.passThrough;
        out.push_back(e);
    }
    return out;
}

}  // namespace pw
