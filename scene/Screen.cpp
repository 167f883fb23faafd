#include "scene/Screen.h"

#include <algorithm>
#include <string_view>

#include "scene/Figure.h"

namespace pw {

Screen::Screen(Platform& platform_, ScreenListener* owner_) : platform(platform_), owner(owner_) {
    Size client = platform.window.ClientSize();
    width = client.width;
    height = client.height;
    Surface* lent = platform.window.LentPicture();
    if (lent != nullptr && lent->Width() == width && lent->Height() == height)
        backBuffer = std::make_shared<BackBuffer>(*lent);
    else
        backBuffer = std::make_shared<BackBuffer>(width, height);
    stale = Rect{0, 0, width, height};
}

bool Screen::BackgroundCoversAll() {
    if (background == nullptr || !background->visible) return false;
    const Rect box = background->GetPictureBounds();
    if (box.left > 0 || box.top > 0 || box.right < width || box.bottom < height) return false;
    const Surface* picture = background->GetSurface();
    // The picture's pixels that land on the screen's first column and row.
    const int64_t firstX = int64_t(background->SurfaceLeft()) - background->GetX();
    const int64_t firstY = int64_t(background->SurfaceTop()) - background->GetY();
    return picture != nullptr && firstX >= 0 && firstY >= 0 && firstX + width <= picture->Width() &&
           firstY + height <= picture->Height();
}

void Screen::ReleasePictures() {
    for (auto* node = elements.head; node != nullptr; node = node->next) node->item->ReleasePicture();
}

void Screen::ShareBackBufferWith(Screen& other) {
    if (other.width != width || other.height != height) return;
    backBuffer = other.backBuffer;
    stale = Rect{0, 0, width, height};
}

Screen::~Screen() {
    if (backBuffer->composedFor == this) backBuffer->composedFor = nullptr;
    elements.Clear();
    tickers.Clear();
}

void Screen::AddElement(Figure* element) {
    // Putting an element on the scene asks for no repaint, but what it
    // covers must be composed again before the buffer is next shown.
    if (element->visible) MarkStale(element->GetBounds());
    const int32_t layer = element->GetLayer();
    int32_t position = 0;
    for (auto* node = elements.head; node != nullptr; node = node->next, ++position)
        if (node->item->GetLayer() >= layer) break;
    elements.InsertAt(element, position);
}

void Screen::RepositionElement(Figure* element) {
    if (elements.Remove(element)) AddElement(element);
}

void Screen::Forget(Figure* element) {
    if (captured == element) captured = nullptr;
    while (tickers.Remove(element)) {
    }
    if (background == element) background = nullptr;
}

void Screen::RemoveElement(Figure* element, bool destroy) {
    if (element != nullptr && element->visible) AddDirtyRect(element->GetBounds());
    elements.Remove(element);
    if (element == nullptr) return;
    Forget(element);
    if (destroy) delete element;
}

void Screen::DestroyAllElements() {
    for (auto* node = elements.head; node != nullptr; node = node->next) {
        Forget(node->item);
        delete node->item;
    }
    elements.Clear();
}

void Screen::ResetScene() {
    captured = nullptr;
    tickers.Clear();
    dirty = Rect{-1, -1, -1, -1};
    lastRefresh = 0;
    // Cleared before this screen next composes into it.
    if (backBuffer->composedFor == this) backBuffer->composedFor = nullptr;
    stale = Rect{0, 0, width, height};
}

void Screen::AddDirtyRect(const Rect& r) {
    MarkStale(r);
    if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) return;
    dirty = dirty.left == -1 ? r : Union(dirty, r);
}

void Screen::MarkStale(const Rect& r) {
    // An element's pixels run from left to right - 1: the inclusive right and
    // bottom edges of the dirty rectangle belong to its neighbours, which are
    // already up to date there.
    const Rect clipped{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                       std::min(r.bottom, height)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return;
    stale = stale.left >= stale.right ? clipped : Union(stale, clipped);
}

void Screen::Compose(const Rect& area) {
    for (auto* node = elements.head; node != nullptr; node = node->next) {
        Figure* element = node->item;
        if (element->visible) element->ComposeOnto(backBuffer->picture, area, element == background);
    }
}

void Screen::Paint(Window& target, bool full) {
    if (painting) return;
    painting = true;
    if (backBuffer->composedFor != this) {
        // Fresh, cleared, or last composed for another screen: all of it
        // again, from black, as a buffer just made (no need where an opaque
        // background covers it all).
        if (!BackgroundCoversAll()) backBuffer->picture.Fill(0, 0, width, height, 0);
        backBuffer->composedFor = this;
        stale = Rect{0, 0, width, height};
    }
    if (stale.left < stale.right) {
        const Rect area = stale;
        stale = Rect{0, 0, 0, 0};
        Compose(area);
    }
    if (full) {
        target.Present(backBuffer->picture, Rect{0, 0, width, height});
    } else if (IsDirty()) {
        // The right and bottom edges count as inside: one column and one row
        // more than the rectangle's width and height (the copy clips them).
        target.Present(backBuffer->picture, Rect{dirty.left, dirty.top, dirty.right + 1, dirty.bottom + 1});
    }
    painting = false;
    dirty = Rect{-1, -1, -1, -1};
}

void Screen::Refresh(bool full) {
    if (active) Paint(platform.window, full);
}

void Screen::Tick(uint32_t now) {
    // Ticked elements may take themselves off the list (an animation that
    // ends does), so walk a copy and stop when the list shrinks below it.
    const ListCopy<Figure*> snapshot(tickers);
    const uint32_t copied = tickers.changes;
    // An entry that an earlier one took off the list (and perhaps deleted)
    // is skipped rather than ticked.
    for (int32_t i = 0; i < tickers.count && i < static_cast<int32_t>(snapshot.size()); ++i) {
        Figure* element = snapshot[static_cast<size_t>(i)];
        if (tickers.StillHolds(element, copied)) element->Tick(now);
    }
    if (static_cast<uint32_t>(now - lastRefresh) >= kRepaintInterval) {
        lastRefresh = now;
        if (IsDirty()) Refresh(false);
    }
}

bool Screen::Hits(Figure* element, int32_t x, int32_t y) const {
    if (!element->visible) return false;
    const int64_t left = element->GetX(), top = element->GetY();
    return left <= x && x <= left + element->GetWidth() && top <= y && y <= top + element->GetHeight();
}

void Screen::OnPenDown(int32_t x, int32_t y) {
    // A press may re-sort the scene (a weight is lifted to the top layer) or
    // take elements off it, deleting them; so walk a copy of the list, top to
    // bottom, and skip whatever is no longer on the scene.
    const ListCopy<Figure*> snapshot(elements);
    const uint32_t copied = elements.changes;
    for (size_t i = snapshot.size(); i-- > 0;) {
        Figure* element = snapshot[i];
        if (!elements.StillHolds(element, copied) || !Hits(element, x, y)) continue;
        if (element->enabled) {
            captured = element;
            element->OnPenDown(x, y);
            // Gone from the scene with its own press: it may be deleted, and
            // the press goes no further.
            if (!elements.StillHolds(element, copied)) break;
        }
        if (!element->passThrough) break;
    }
}

void Screen::OnPenMove(int32_t x, int32_t y) {
    if (captured != nullptr && captured->enabled && captured->visible) captured->OnPenMove(x, y);
}

void Screen::OnPenUp(int32_t x, int32_t y) {
    if (captured != nullptr) {
        if (captured->enabled && captured->visible) {
            Figure* element = captured;
            captured = nullptr;
            element->OnPenUp(x, y);
        }
        return;
    }
    // Nothing captured: every enabled button hears it (so none stays pressed)
    // and so does every enabled element under the stylus.
    const ListCopy<Figure*> snapshot(elements);
    const uint32_t copied = elements.changes;
    for (size_t i = snapshot.size(); i-- > 0;) {
        Figure* element = snapshot[i];
        if (!elements.StillHolds(element, copied)) continue;
        if (!element->enabled) continue;
        if (Hits(element, x, y) || std::u16string_view(element->GetKindName()) == u"Button")
            element->OnPenUp(x, y);
    }
}

}  // namespace pw
