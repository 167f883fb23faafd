#pragma once
// One full-window scene: a layer-sorted list of elements composed into a back
// buffer, stylus routing with capture, ticking of animations and a throttled
// repaint of the rectangle that changed.
#include <cstdint>
#include <memory>

#include "platform/Platform.h"
#include "base/PointerList.h"
#include "scene/ScreenListener.h"

namespace pw {

class Figure;
class Screen;

// The picture a screen composes its scene into. Screens that take turns on
// one window share one: the screen it was last composed for keeps it, and
// another one composes it all again before showing it.
// A window that lends its own picture has the scene composed straight into it.
struct BackBuffer {
    BackBuffer(int width, int height) : own(std::make_unique<Surface>(width, height)), picture(*own) {}
    explicit BackBuffer(Surface& lent) : picture(lent) {}
    std::unique_ptr<Surface> own;
    Surface& picture;
    const Screen* composedFor = nullptr;
};

class Screen {
public:
    // Partial repaints happen at most once per this many milliseconds.
    static constexpr uint32_t kRepaintInterval = 43;

    Screen(Platform& platform, ScreenListener* owner);
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Repaints through the window when this screen is the active one.
    virtual void Refresh(bool full);
    // Brings the back buffer up to date, composing only where the scene
    // changed, and copies the whole buffer (full) or the dirty rectangle to
    // the window.
    virtual void Paint(Window& target, bool full);

    void Tick(uint32_t now);
    void OnPenDown(int32_t x, int32_t y);
    void OnPenUp(int32_t x, int32_t y);
    void OnPenMove(int32_t x, int32_t y);

    // Inserts below every element already on the same layer.
    void AddElement(Figure* element);
    // Re-sorts an element after its layer changed; one not listed stays out.
    void RepositionElement(Figure* element);
    // Takes an element off the scene (and deletes it when destroy is set). It
    // also stops receiving the stylus and ticks.
    void RemoveElement(Figure* element, bool destroy);
    void DestroyAllElements();
    // Forgets the stylus capture, the tickers, the pending repaint and the
    // repaint clock, and clears the back buffer, as a screen just built has
    // them; the elements stay and are all composed again at the next paint.
    void ResetScene();
    // Widens the dirty rectangle; a rectangle reaching outside the screen is
    // dropped whole.
    void AddDirtyRect(const Rect& rect);
    // Notes that the scene changed in rect without asking for a repaint: the
    // back buffer is composed again there at the next paint, whichever area
    // that paint shows. Clipped to the screen, never dropped.
    void MarkStale(const Rect& rect);

    bool IsDirty() const { return dirty.left != -1; }

    // Every element lets go of what it can make again when next drawn: for
    // a screen that will not show for a while.
    void ReleasePictures();
    // From now on composes into other's back buffer (the same size) instead
    // of its own: only one of the two shows at a time.
    void ShareBackBufferWith(Screen& other);

    Platform& platform;
    int32_t width = 0;
    int32_t height = 0;
    std::shared_ptr<BackBuffer> backBuffer;
    bool painting = false;
    bool active = false;
    Figure* background = nullptr;
    PointerList<Figure> elements;
    Rect dirty{-1, -1, -1, -1};
    uint32_t lastRefresh = 0;
    Figure* captured = nullptr;
    ScreenListener* owner = nullptr;
    PointerList<Figure> tickers;
    // Where the back buffer no longer matches the scene; everywhere at first,
    // empty (zero width) once composed. Outside it the buffer is kept as it
    // was composed, the background included.
    Rect stale{0, 0, 0, 0};

private:
    // Composes, bottom to top, the visible elements that meet area, each
    // clipped to it.
    void Compose(const Rect& area);
    // Whether the background alone, copied opaquely, fills every pixel.
    bool BackgroundCoversAll();
    bool Hits(Figure* element, int32_t x, int32_t y) const;
    void Forget(Figure* element);
};

}  // namespace pw
