#include "scene/Figure.h"

#include <algorithm>
#include <string_view>

#include "scene/Screen.h"

namespace pw {

Figure::Figure(Screen* screen_) : screen(screen_) {}

Figure::~Figure() { listeners.Clear(); }

void Figure::Tick(uint32_t) {}

const char16_t* Figure::GetKindName() const { return u"Figure"; }

bool Figure::IsKind(const char16_t* kind) const { return std::u16string_view(GetKindName()) == kind; }

Platform& Figure::GetPlatform() const { return screen->platform; }

void Figure::SetWidth(int32_t w) {
    screen->AddDirtyRect(GetBounds());
    width = w;
    Invalidate();
}

void Figure::SetHeight(int32_t h) {
    screen->AddDirtyRect(GetBounds());
    height = h;
    Invalidate();
}

void Figure::SetX(int32_t nx) {
    screen->AddDirtyRect(GetBounds());
    x = nx;
    Invalidate();
}

void Figure::SetY(int32_t ny) {
    screen->AddDirtyRect(GetBounds());
    y = ny;
    Invalidate();
}

void Figure::MoveTo(int32_t nx, int32_t ny) {
    screen->AddDirtyRect(GetBounds());
    x = nx;
    y = ny;
    Invalidate();
}

void Figure::SetLayer(int32_t n) {
    layer = n;
    screen->RepositionElement(this);
    Invalidate();
}

// Only where the picture can show: outside its box the element draws nothing.
void Figure::Invalidate() { screen->AddDirtyRect(GetPictureBounds()); }

void Figure::MarkStale() { screen->MarkStale(GetPictureBounds()); }

void Figure::SetVisible(bool v) {
    if (v == visible) return;
    visible = v;
    if (!v) enabled = false;
    Invalidate();
}

void Figure::AddListener(ElementListener* listener) { listeners.AddUnique(listener); }

bool Figure::RemoveListener(ElementListener* listener) { return listeners.Remove(listener); }

Rect Figure::GetBounds() const { return Rect{GetX(), GetY(), GetX() + GetWidth(), GetY() + GetHeight()}; }

Rect Figure::GetPictureBounds() const {
    const Rect box = PictureBox();
    return Rect{GetX() + box.left, GetY() + box.top, GetX() + box.right, GetY() + box.bottom};
}

bool Figure::Intersects(const Rect& r) const {
    const Rect b = GetBounds();
    return !(b.right < r.left || b.left > r.right || b.bottom < r.top || b.top > r.bottom);
}

void Figure::ClampDragPosition(int32_t px, int32_t py, int32_t& outX, int32_t& outY) const {
    // In 64 bits, so that no stylus point (a replayed one is not clamped by
    // any window) can overflow; the result always lies on the screen.
    int64_t nx = int64_t(px) - width / 2;
    int64_t ny = int64_t(py) - height / 2;
    if (nx < 0) nx = 0;
    if (nx + width > screen->width) nx = int64_t(screen->width) - width;
    if (ny < 0) ny = 0;
    if (ny + height > screen->height) ny = int64_t(screen->height) - height;
    outX = static_cast<int32_t>(nx);
    outY = static_cast<int32_t>(ny);
}

void Figure::Notify(Notice notice, int32_t px, int32_t py) {
    // Listeners may unregister during the walk: it ends when the list shrinks
    // below the index, and one added now is first told next time.
    const ListCopy<ElementListener*> snapshot(listeners);
    for (int32_t i = 0; i < listeners.count && i < static_cast<int32_t>(snapshot.size()); ++i) {
        ElementListener* listener = snapshot[static_cast<size_t>(i)];
        if (notice == Notice::Pressed)
            listener->OnElementPressed(this, px, py);
        else
            listener->OnElementReleased(this, px, py);
    }
}

void Figure::OnPenDown(int32_t px, int32_t py) {
    Notify(Notice::Pressed, px, py);
    if (draggable) {
        int32_t nx = 0, ny = 0;
        ClampDragPosition(px, py, nx, ny);
        MoveTo(nx, ny);
    }
}

void Figure::OnPenUp(int32_t px, int32_t py) { Notify(Notice::Released, px, py); }

void Figure::OnPenMove(int32_t px, int32_t py) {
    if (!draggable) return;
    int32_t nx = 0, ny = 0;
    ClampDragPosition(px, py, nx, ny);
    MoveTo(nx, ny);
}

Rect Figure::PictureIn(const Rect& area) const {
    const Rect box = PictureBox();
    // In 64 bits, so that no placement of an element can overflow.
    const int64_t x = GetX(), y = GetY();
    const int64_t left = std::max<int64_t>(x + box.left, area.left);
    const int64_t top = std::max<int64_t>(y + box.top, area.top);
    const int64_t right = std::min<int64_t>(x + box.right, area.right);
    const int64_t bottom = std::min<int64_t>(y + box.bottom, area.bottom);
    if (left >= right || top >= bottom) return Rect{};
    return Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

void Figure::ComposeOnto(Surface& target, const Rect& area, bool opaque) {
    const Rect part = PictureIn(area);
    if (part.left >= part.right || part.top >= part.bottom) return;
    const Surface* picture = GetSurface();
    if (picture == nullptr) return;
    const int w = part.right - part.left, h = part.bottom - part.top;
    const int sx = int(int64_t(part.left) - GetX() + SurfaceLeft()),
              sy = int(int64_t(part.top) - GetY() + SurfaceTop());
    if (opaque)
        CopyOpaque(target, part.left, part.top, w, h, *picture, sx, sy);
    else
        CopyKeyed(target, part.left, part.top, w, h, *picture, sx, sy, KeyColour);
}

void Figure::ClearSurface(Surface& surface) { surface.Fill(0, 0, GetWidth(), GetHeight(), KeyColour); }

}  // namespace pw
