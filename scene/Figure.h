#pragma once
// The base of every scene element: a rectangle with a layer, a picture, flags
// for visibility, input, dragging and click pass-through, a tag and a list of
// listeners. It tells its screen about every area that must be repainted.
#include <cstdint>

#include "platform/Surface.h"
#include "scene/ElementListener.h"
#include "base/PointerList.h"

namespace pw {

class Screen;
struct Platform;

class Figure {
public:
    explicit Figure(Screen* screen);
    virtual ~Figure();
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    virtual void Tick(uint32_t now);
    virtual void SetWidth(int32_t w);
    virtual void SetHeight(int32_t h);
    // One of "Figure", "Image", "Animation", "Button", "Hotspot", "Text",
    // "Weight", "Background": screens tell kinds apart by this string.
    virtual const char16_t* GetKindName() const;
    virtual int32_t GetLayer() const { return layer; }
    // The current picture, or null when the element is never drawn. The
    // element's pixel (0, 0) is the picture's pixel (SurfaceLeft(),
    // SurfaceTop()), and only PictureBox() can show.
    virtual const Surface* GetSurface() = 0;
    virtual int32_t SurfaceLeft() const { return 0; }
    virtual int32_t SurfaceTop() const { return 0; }
    // The part of the element, in its own coordinates, where its picture can
    // show; the rest of it is see-through.
    virtual Rect PictureBox() const { return Rect{0, 0, GetWidth(), GetHeight()}; }
    // Draws the picture over target, where the element meets area (in screen
    // coordinates): copied whole when opaque, else through the key colour.
    virtual void ComposeOnto(Surface& target, const Rect& area, bool opaque);
    // Lets go of a picture the element can make again when next drawn.
    virtual void ReleasePicture() {}
    virtual void SetLayer(int32_t n);
    virtual void OnPenDown(int32_t px, int32_t py);
    virtual void OnPenUp(int32_t px, int32_t py);
    virtual void OnPenMove(int32_t px, int32_t py);
    virtual void Invalidate();
    // The picture changed but no repaint is asked for: the screen composes it
    // again before it next shows this area, and shows it no sooner.
    void MarkStale();
    virtual int32_t GetX() const { return x; }
    virtual int32_t GetY() const { return y; }
    virtual int32_t GetWidth() const { return width; }
    virtual int32_t GetHeight() const { return height; }
    virtual void SetX(int32_t nx);
    virtual void SetY(int32_t ny);
    virtual void MoveTo(int32_t nx, int32_t ny);
    // Fills the element's picture area of surface with the key colour.
    virtual void ClearSurface(Surface& surface);

    // Hiding also disables; showing does not enable.
    void SetVisible(bool v);
    void AddListener(ElementListener* listener);
    bool RemoveListener(ElementListener* listener);
    Rect GetBounds() const;
    // PictureBox() on the screen.
    Rect GetPictureBounds() const;
    // Touching edges count as intersecting.
    bool Intersects(const Rect& r) const;
    // The top-left corner the element takes when dragged to the stylus point:
    // centred on it, then kept on the screen (right and bottom edges last).
    void ClampDragPosition(int32_t px, int32_t py, int32_t& outX, int32_t& outY) const;

    bool IsKind(const char16_t* kind) const;
    Platform& GetPlatform() const;

    PointerList<ElementListener> listeners;
    bool visible = false;
    bool enabled = false;
    bool draggable = false;
    int32_t layer = 10;
    bool passThrough = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    Screen* screen;
    int32_t tag = 0;

protected:
    // Where the picture meets area, in screen coordinates; empty (zero
    // width or height) when it does not.
    Rect PictureIn(const Rect& area) const;
    enum class Notice { Pressed, Released };
    void Notify(Notice notice, int32_t px, int32_t py);
};

}  // namespace pw
