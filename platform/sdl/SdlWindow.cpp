#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/EmbeddedResourceStore.h"
#include "platform/sdl/FocusRing.h"
#include "platform/sdl/HandPointer.h"
#include "platform/sdl/KeyInput.h"

namespace pw {

namespace {

// Fills the stripes (the ring's, the hand's) into the window surface; true
// when there were any.
bool FillStripes(SDL_Surface* target, const std::vector<FocusRing::Stripe>& stripes) {
    for (const FocusRing::Stripe& s : stripes) {
        SDL_Rect r{s.window.left, s.window.top, s.window.right - s.window.left,
                   s.window.bottom - s.window.top};
        SDL_FillRect(
            target, &r,
            SDL_MapRGB(target->format, (s.colour >> 16) & 0xFF, (s.colour >> 8) & 0xFF, s.colour & 0xFF));
    }
    return !stripes.empty();
}

// The bar's texts come as UTF-8 and are drawn from UTF-16.
std::u16string Utf16(const std::string& text) {
    std::u16string out;
    char* converted = SDL_iconv_string("UTF-16LE", "UTF-8", text.c_str(), text.size() + 1);
    if (converted == nullptr) return out;
    for (size_t i = 0; converted[i] != 0 || converted[i + 1] != 0; i += 2)
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(converted[i]) |
                                            (static_cast<uint8_t>(converted[i + 1]) << 8)));
    SDL_free(converted);
    return out;
}

}  // namespace

SdlWindow::SdlWindow() : shown_(kDisplayWidth, kDisplayHeight) {}

SdlWindow::~SdlWindow() {
    if (gate_ && gate_->Active()) SDL_DelEventWatch(&SdlWindow::WakeOnPush, this);
    gate_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

int SdlWindow::WakeOnPush(void* self, SDL_Event* event) {
    auto* window = static_cast<SdlWindow*>(self);
    if (SDL_ThreadID() != window->ownThread_) {
        // SDL calls this before it queues the event, so the game, woken,
        // might not find it yet and sleep again: what it must not miss is
        // noted first.
        if (event->type == SDL_QUIT) window->quitAsked_ = true;
        if (event->type == window->raiseEvent_) window->raiseAsked_ = true;
        window->gate_->Wake();
    }
    return 1;
}

bool SdlWindow::Open(const std::string& title, int scale, bool fullscreen, bool bar, std::string& error) {
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (bar) bar_ = std::make_unique<StatusBar>(barText_);
    const int barHeight = bar ? StatusBar::kBelowHeight * scale : 0;
    int w = kDisplayWidth * scale, h = kDisplayHeight * scale + barHeight;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    SDL_DisplayMode desktop{};
    if (fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        // Sized to the display as well, so that it covers it even where no
        // window manager honours the full-screen request.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        x = y = 0;
        w = desktop.w;
        h = desktop.h;
    }
    // Where leaving full screen goes when the game started in it.
    windowedX_ = windowedY_ = static_cast<int>(SDL_WINDOWPOS_CENTERED);
    windowedWidth_ = kDisplayWidth * scale;
    windowedHeight_ = kDisplayHeight * scale + barHeight;
    title_ = title;
    window_ = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    if (window_ == nullptr) {
        error = std::string("cannot open the window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kDisplayWidth, kDisplayHeight);
    raiseEvent_ = SDL_RegisterEvents(1);
    gate_ = std::make_unique<XEventGate>(window_);
    if (gate_->Active()) {
        // The game then waits on the X connection itself, not in SDL (whose
        // wait takes in all that arrived at once); an event pushed from
        // another thread must wake it.
        ownThread_ = SDL_ThreadID();
        SDL_AddEventWatch(&SdlWindow::WakeOnPush, this);
    } else {
        gate_.reset();
    }
    Layout();
    return true;
}

void SdlWindow::SetIcon(const uint8_t* bmpData, size_t size) {
    if (window_ == nullptr) return;
    const std::unique_ptr<Surface> picture = DecodeBmp(bmpData, size);
    if (!picture) return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, picture->Width(), picture->Height(), 32, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return;
    SDL_LockSurface(icon);
    for (int y = 0; y < picture->Height(); ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < picture->Width(); ++x) {
            const Pixel p = picture->At(x, y);
            row[x] = p == KeyColour ? 0u : (0xFF000000u | p);  // the key colour is transparent
        }
    }
    SDL_UnlockSurface(icon);
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlWindow::Show() {
    SDL_ShowWindow(window_);
    Layout();
}

void SdlWindow::Raise() {
    if (window_ == nullptr) return;
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::RequestRaise() {
    if (raiseEvent_ == 0 || raiseEvent_ == static_cast<uint32_t>(-1)) return;
    SDL_Event e{};
    e.type = raiseEvent_;
    SDL_PushEvent(&e);
}

void SdlWindow::RequestClose() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

void SdlWindow::Layout() {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) return;
    placement_ = BarPlacement::Fit(target->w, target->h, bar_ != nullptr);
    layout_ = placement_.picture;
    if (placement_.barShown) bar_->SetSide(placement_.side);
    sourceColumns_.resize(static_cast<size_t>(std::max(0, layout_.Width())));
    for (int i = 0; i < layout_.Width(); ++i)
        sourceColumns_[static_cast<size_t>(i)] = layout_.SourceColumn(layout_.Left() + i);
    // The whole window anew: black bars and the picture as last shown, so
    // that nothing stale stays anywhere after a resize or an expose.
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    Draw(target, 0, 0, kDisplayWidth, kDisplayHeight);
    DrawBar(target);
    DrawRing(target);
    unpublished_.clear();
    DrawHand(target);
    SDL_UpdateWindowSurface(window_);
    // The bar may have come or gone with the size: the caption follows it.
    if (!caption_.empty()) ShowCaption(caption_);
}

SDL_Surface* SdlWindow::LaidOutSurface() {
    SDL_Surface* target = window_ == nullptr ? nullptr : SDL_GetWindowSurface(window_);
    if (target == nullptr || target->w != layout_.WindowWidth() || target->h != layout_.WindowHeight())
        return nullptr;  // resized and not laid out yet: the resize repaints everything
    return target;
}

void SdlWindow::UpdateArea(const Rect& area) {
    if (area.right <= area.left || area.bottom <= area.top) return;
    SDL_Rect r{layout_.ColumnStart(area.left), layout_.RowStart(area.top),
               layout_.ColumnStart(area.right) - layout_.ColumnStart(area.left),
               layout_.RowStart(area.bottom) - layout_.RowStart(area.top)};
    SDL_UpdateWindowSurfaceRects(window_, &r, 1);
}

void SdlWindow::ShowInstead(const Surface* picture, const Rect& area) {
    if (picture == nullptr) {
        if (instead_ == nullptr) return;
        instead_ = nullptr;
        hand_ = false;
        // The game's own picture and ring, all of it, as they were.
        if (LaidOutSurface() != nullptr) Layout();
        return;
    }
    const bool fresh = instead_ != picture;
    instead_ = picture;
    SDL_Surface* target = LaidOutSurface();
    if (target == nullptr) return;
    if (fresh) return Layout();
    const Rect a{std::max(0, area.left), std::max(0, area.top), std::min(kDisplayWidth, area.right),
                 std::min(kDisplayHeight, area.bottom)};
    if (a.right <= a.left || a.bottom <= a.top || !Draw(target, a.left, a.top, a.right, a.bottom)) return;
    UpdateArea(a);
    if (DrawHand(target)) UpdateArea(HandPointer::Covered(layout_, handX_, handY_));
}

void SdlWindow::ShowHand(bool shown, int x, int y, bool down) {
    if (shown == hand_ && (!shown || (x == handX_ && y == handY_ && down == handDown_))) return;
    SDL_Surface* target = LaidOutSurface();
    if (hand_ && target != nullptr) {
        const Rect wipe = HandPointer::Covered(layout_, handX_, handY_);
        if (Draw(target, wipe.left, wipe.top, wipe.right, wipe.bottom)) {
            DrawRing(target);
            UpdateArea(wipe);
        }
    }
    hand_ = shown;
    handX_ = x;
    handY_ = y;
    handDown_ = down;
    if (target != nullptr && DrawHand(target)) UpdateArea(HandPointer::Covered(layout_, x, y));
}

bool SdlWindow::DrawHand(SDL_Surface* target) {
    if (!hand_) return false;
    return FillStripes(target, HandPointer::Stripes(layout_, handX_, handY_, handDown_));
}

void SdlWindow::ShowCaption(const std::string& text) {
    if (window_ == nullptr) return;
    caption_ = text;
    if (bar_) UpdateBar(bar_->SetCaption(Utf16(text)));
    // Where no bar shows (without one, or in a window too small for it) the
    // caption goes to the title bar.
    const bool inTitle = !text.empty() && !placement_.barShown;
    SDL_SetWindowTitle(window_, inTitle ? (title_ + " - " + text).c_str() : title_.c_str());
}

void SdlWindow::ShowStatus(const std::string& place, bool soundOn) {
    if (!bar_) return;
    const bool placed = bar_->SetPlace(Utf16(place));
    UpdateBar(bar_->SetSound(soundOn) || placed);
}

bool SdlWindow::HasBar() const { return bar_ && placement_.barShown; }

void SdlWindow::FocusBarControl(BarControl control) {
    if (bar_) UpdateBar(bar_->SetFocus(control));
}

void SdlWindow::UpdateBar(bool changed) {
    SDL_Surface* target = LaidOutSurface();
    if (!changed || target == nullptr || !DrawBar(target)) return;
    const Rect& b = placement_.bar;
    Publish(SDL_Rect{b.left, b.top, b.right - b.left, b.bottom - b.top});
}

bool SdlWindow::DrawBar(SDL_Surface* target) {
    if (!placement_.barShown || target->format->BytesPerPixel != 4) return false;
    const Surface& picture = bar_->Picture();
    const int factor = placement_.factor;
    const Rect& b = placement_.bar;
    if (b.right > target->w || b.bottom > target->h) return false;
    SDL_LockSurface(target);
    for (int wy = b.top; wy < b.bottom; ++wy) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(target->pixels) + wy * target->pitch);
        const Pixel* source = picture.Row((wy - b.top) / factor);
        for (int wx = b.left; wx < b.right; ++wx) {
            const Pixel p = source[(wx - b.left) / factor];
            row[wx] = SDL_MapRGB(target->format, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
    }
    SDL_UnlockSurface(target);
    return true;
}

void SdlWindow::PressBar(int windowX, int windowY) {
    barPressed_ = BarControl::None;
    if (!placement_.InBar(windowX, windowY)) return;
    const int f = placement_.factor;
    barPressed_ = bar_->ControlAt((windowX - placement_.bar.left) / f, (windowY - placement_.bar.top) / f);
}

bool SdlWindow::ReleaseBar(int windowX, int windowY, WindowEvent& out) {
    const BarControl pressed = barPressed_;
    barPressed_ = BarControl::None;
    if (pressed == BarControl::None || !placement_.InBar(windowX, windowY)) return false;
    const int f = placement_.factor;
    if (bar_->ControlAt((windowX - placement_.bar.left) / f, (windowY - placement_.bar.top) / f) != pressed)
        return false;
    // The very message the key makes, so that it acts and records as the key.
    out = WindowEvent{WindowEvent::Type::KeyDown, 0, 0, false};
    out.key = StatusBar::KeyOf(pressed);
    return true;
}

void SdlWindow::Present(const Surface& back, const Rect& area) {
    const int left = std::max(0, area.left), top = std::max(0, area.top);
    const int right = std::min(kDisplayWidth, area.right), bottom = std::min(kDisplayHeight, area.bottom);
    if (right <= left || bottom <= top) return;
    if (&back != &shown_) CopyOpaque(shown_, left, top, right - left, bottom - top, back, left, top);
    if (instead_ != nullptr) return;  // kept for when the game's picture comes back
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr || target->w != layout_.WindowWidth() || target->h != layout_.WindowHeight())
        return;  // resized and not laid out yet: the resize repaints everything
    if (!Draw(target, left, top, right, bottom)) return;
    SDL_Rect changed{layout_.ColumnStart(left), layout_.RowStart(top),
                     layout_.ColumnStart(right) - layout_.ColumnStart(left),
                     layout_.RowStart(bottom) - layout_.RowStart(top)};
    Publish(changed);
    // The picture just drawn may have covered part of the ring.
    if (DrawRing(target)) UpdateRing(ring_);
}

void SdlWindow::ShowFocusRing(const Rect& area) {
    if (area == ring_) return;
    const Rect old = ring_;
    ring_ = area;
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr || target->w != layout_.WindowWidth() || target->h != layout_.WindowHeight())
        return;
    // Wipe the old ring with the picture beneath it, then draw the new one.
    const Rect wipe = FocusRing::Covered(layout_, old);
    if (wipe.right > wipe.left && Draw(target, wipe.left, wipe.top, wipe.right, wipe.bottom)) UpdateRing(old);
    if (DrawRing(target)) UpdateRing(ring_);
}

bool SdlWindow::DrawRing(SDL_Surface* target) {
    if (instead_ != nullptr) return false;  // the ring is the player's game's
    return FillStripes(target, FocusRing::Stripes(layout_, ring_));
}

void SdlWindow::UpdateRing(const Rect& area) {
    const Rect d = FocusRing::Covered(layout_, area);
    if (d.right <= d.left || d.bottom <= d.top) return;
    SDL_Rect r{layout_.ColumnStart(d.left), layout_.RowStart(d.top),
               layout_.ColumnStart(d.right) - layout_.ColumnStart(d.left),
               layout_.RowStart(d.bottom) - layout_.RowStart(d.top)};
    Publish(r);
}

void SdlWindow::Publish(const SDL_Rect& area) {
    // Where the game takes events in batches, what it drew is shown once
    // the batch is through (each showing waits for the X server), not
    // after every event of a burst.
    if (!gate_) {
        SDL_UpdateWindowSurfaceRects(window_, &area, 1);
        return;
    }
    if (unpublished_.size() == kMaxUnpublished) {
        SDL_Rect& all = unpublished_.back();
        SDL_UnionRect(&all, &area, &all);
    } else {
        unpublished_.push_back(area);
    }
}

void SdlWindow::PublishDrawn() {
    if (unpublished_.empty()) return;
    SDL_UpdateWindowSurfaceRects(window_, unpublished_.data(), static_cast<int>(unpublished_.size()));
    unpublished_.clear();
}

void SdlWindow::SetFullscreen(bool on) {
    if (window_ == nullptr || on == IsFullscreen()) return;
    // The resizes that follow lay the picture out again and repaint. The
    // window is sized by hand as well, so that it covers the display, and
    // comes back, where no window manager honours the request.
    if (on) {
        SDL_GetWindowPosition(window_, &windowedX_, &windowedY_);
        SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
        const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        SDL_SetWindowPosition(window_, windowedX_, windowedY_);
    }
}

bool SdlWindow::IsFullscreen() const {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool SdlWindow::Draw(SDL_Surface* target, int left, int top, int right, int bottom) {
    const SDL_PixelFormat* format = target->format;
    const int bytes = format->BytesPerPixel;
    if (bytes != 4 && bytes != 2) return false;
    const bool direct = bytes == 4 && format->Rmask == 0x00FF0000 && format->Gmask == 0x0000FF00 &&
                        format->Bmask == 0x000000FF;
    // The window columns and rows that show the area; the layout keeps them
    // inside the window surface.
    const int firstX = layout_.ColumnStart(left), endX = layout_.ColumnStart(right);
    const int firstY = layout_.RowStart(top), endY = layout_.RowStart(bottom);
    if (endX <= firstX || endY <= firstY) return false;
    SDL_LockSurface(target);
    auto* pixels = static_cast<uint8_t*>(target->pixels);
    int filledRow = -1, filledFrom = -1;
    for (int wy = firstY; wy < endY; ++wy) {
        auto* row = pixels + wy * target->pitch;
        const int sourceY = layout_.SourceRow(wy);
        if (sourceY == filledFrom) {
            // Scaled up: the window row repeats the one above.
            std::memcpy(row + firstX * bytes, pixels + filledRow * target->pitch + firstX * bytes,
                        static_cast<size_t>(endX - firstX) * bytes);
            continue;
        }
        const Pixel* source = (instead_ != nullptr ? *instead_ : shown_).Row(sourceY);
        for (int wx = firstX; wx < endX; ++wx) {
            const Pixel p = source[sourceColumns_[static_cast<size_t>(wx - layout_.Left())]];
            const Uint32 mapped =
                direct ? p : SDL_MapRGB(format, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            if (bytes == 4)
                reinterpret_cast<Uint32*>(row)[wx] = mapped;
            else
                reinterpret_cast<Uint16*>(row)[wx] = static_cast<Uint16>(mapped);
        }
        filledRow = wy;
        filledFrom = sourceY;
    }
    SDL_UnlockSurface(target);
    return true;
}

void SdlWindow::PushPaint() {
    const bool pending = std::any_of(queue_.begin(), queue_.end(),
                                     [](const WindowEvent& e) { return e.type == WindowEvent::Type::Paint; });
    if (!pending) queue_.push_back(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void SdlWindow::Invalidate() { PushPaint(); }

void SdlWindow::PostDestroy() { queue_.push_back(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false}); }

bool SdlWindow::Translate(const SDL_Event& e, WindowEvent& out) {
    switch (e.type) {
        case SDL_QUIT:
            out = WindowEvent{WindowEvent::Type::Destroy, 0, 0, false};
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out = WindowEvent{WindowEvent::Type::Destroy, 0, 0, false};
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_RESIZED ||
                e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
                e.window.event == SDL_WINDOWEVENT_RESTORED) {
                Layout();
                out = WindowEvent{WindowEvent::Type::Paint, 0, 0, false};
                return true;
            }
            return false;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) return false;
            primaryDown_ = true;
            PressBar(e.button.x, e.button.y);
            return pointer_.Press(layout_, e.button.x, e.button.y, out);
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) return false;
            primaryDown_ = false;
            return pointer_.Release(layout_, e.button.x, e.button.y, out) ||
                   ReleaseBar(e.button.x, e.button.y, out);
        case SDL_KEYDOWN:
            return KeyInput::Translate(e.key.keysym.sym, e.key.keysym.scancode, e.key.keysym.mod,
                                       e.key.repeat != 0, out);
        case SDL_MOUSEMOTION:
            return pointer_.Move(layout_, e.motion.x, e.motion.y, e.motion.state == SDL_BUTTON_LMASK,
                                 (SDL_GetModState() & (KMOD_SHIFT | KMOD_CTRL)) != 0, out);
        default:
            if (e.type == raiseEvent_ && raiseEvent_ != 0) Raise();
            return false;
    }
}

bool SdlWindow::PumpBatch() {
    if (raiseAsked_.exchange(false)) Raise();
    // A quit (SIGTERM, SIGINT) goes before all else still queued.
    SDL_Event batch[kBatch];
    if (quitAsked_.exchange(false) || SDL_PeepEvents(batch, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) == 1) {
        queue_.clear();
        queue_.push_back(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false});
        return false;
    }
    gate_->Admit(kBatch);
    SDL_PumpEvents();
    gate_->Settle();
    const int count = SDL_PeepEvents(batch, kBatch, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int i = 0; i < count; ++i) {
        WindowEvent translated;
        if (!Translate(batch[i], translated)) continue;
        // A move after a move: only where the pointer is now matters.
        if (translated.type == WindowEvent::Type::PenMove && !queue_.empty() &&
            queue_.back().type == WindowEvent::Type::PenMove &&
            queue_.back().primaryOnly == translated.primaryOnly)
            queue_.back() = translated;
        else
            queue_.push_back(translated);
        if (translated.type == WindowEvent::Type::Destroy) return false;
    }
    return true;
}

bool SdlWindow::PollEvent(WindowEvent& event) {
    // A quit from another thread (SIGTERM, SIGINT) also goes before what is
    // left of the batch.
    if (gate_ && quitAsked_.exchange(false)) {
        queue_.clear();
        event = WindowEvent{WindowEvent::Type::Destroy, 0, 0, false};
        return true;
    }
    if (queue_.empty() && gate_) {
        PublishDrawn();
        // Batches until one gives the game something or nothing is left;
        // a few at most, so that the game still ticks during a flood.
        for (int pass = 0;
             pass < kBatchesPerPoll && PumpBatch() && queue_.empty() &&
             (gate_->Holding() || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || gate_->Pending());
             ++pass) {
        }
    }
    if (!queue_.empty()) {
        event = queue_.front();
        queue_.pop_front();
        return true;
    }
    if (gate_) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (Translate(e, event)) return true;
    }
    return false;
}

bool SdlWindow::WaitEvent(WindowEvent& event, uint32_t timeoutMs) {
    if (PollEvent(event)) return true;
    if (gate_) {
        PublishDrawn();
        if (gate_->Holding() || gate_->Pending()) return PollEvent(event);
        // An event another thread pushed before this check is in SDL's
        // queue; one pushed after it wakes the wait.
        if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) gate_->Wait(timeoutMs);
        return PollEvent(event);
    }
    SDL_Event e;
    const bool woken = timeoutMs == kNoTimeout ? SDL_WaitEvent(&e) != 0
                                               : SDL_WaitEventTimeout(&e, static_cast<int>(timeoutMs)) != 0;
    return woken && Translate(e, event);
}

}  // namespace pw
