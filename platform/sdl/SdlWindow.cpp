#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/EmbeddedResourceStore.h"

namespace pw {

SdlWindow::SdlWindow() : shown_(kDisplayWidth, kDisplayHeight) {}

SdlWindow::~SdlWindow() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool SdlWindow::Open(const std::string& title, int scale, bool fullscreen, std::string& error) {
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    int w = kDisplayWidth * scale, h = kDisplayHeight * scale;
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
    window_ = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    if (window_ == nullptr) {
        error = std::string("cannot open the window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kDisplayWidth, kDisplayHeight);
    raiseEvent_ = SDL_RegisterEvents(1);
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

void SdlWindow::Layout() {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) return;
    scale_ = std::max(1, std::min(target->w / kDisplayWidth, target->h / kDisplayHeight));
    offsetX_ = (target->w - kDisplayWidth * scale_) / 2;
    offsetY_ = (target->h - kDisplayHeight * scale_) / 2;
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    SDL_Rect all{0, 0, target->w, target->h};
    SDL_UpdateWindowSurfaceRects(window_, &all, 1);
}

void SdlWindow::Present(const Surface& back, const Rect& area) {
    const int left = std::max(0, area.left), top = std::max(0, area.top);
    const int right = std::min(kDisplayWidth, area.right), bottom = std::min(kDisplayHeight, area.bottom);
    if (right <= left || bottom <= top) return;
    CopyOpaque(shown_, left, top, right - left, bottom - top, back, left, top);
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) return;
    const SDL_PixelFormat* format = target->format;
    const int bytes = format->BytesPerPixel;
    if (bytes != 4 && bytes != 2) return;
    const bool direct = bytes == 4 && format->Rmask == 0x00FF0000 && format->Gmask == 0x0000FF00 &&
                        format->Bmask == 0x000000FF;
    // Window columns of the area, kept inside the window surface.
    const int firstX = std::max(0, offsetX_ + left * scale_);
    const int endX = std::min(target->w, offsetX_ + right * scale_);
    if (endX <= firstX) return;
    SDL_LockSurface(target);
    for (int y = top; y < bottom; ++y) {
        const Pixel* source = shown_.Row(y);
        // Scale one display row into the first window row, then repeat it.
        const int firstY = offsetY_ + y * scale_;
        int filled = -1;
        for (int wy = std::max(0, firstY); wy < std::min(target->h, firstY + scale_); ++wy) {
            auto* row = static_cast<uint8_t*>(target->pixels) + wy * target->pitch;
            if (filled >= 0) {
                std::memcpy(row + firstX * bytes,
                            static_cast<uint8_t*>(target->pixels) + filled * target->pitch + firstX * bytes,
                            static_cast<size_t>(endX - firstX) * bytes);
                continue;
            }
            for (int wx = firstX; wx < endX; ++wx) {
                const Pixel p = source[(wx - offsetX_) / scale_];
                const Uint32 mapped =
                    direct ? p : SDL_MapRGB(format, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                if (bytes == 4)
                    reinterpret_cast<Uint32*>(row)[wx] = mapped;
                else
                    reinterpret_cast<Uint16*>(row)[wx] = static_cast<Uint16>(mapped);
            }
            filled = wy;
        }
    }
    SDL_UnlockSurface(target);
    SDL_Rect changed{offsetX_ + left * scale_, offsetY_ + top * scale_, (right - left) * scale_,
                     (bottom - top) * scale_};
    SDL_UpdateWindowSurfaceRects(window_, &changed, 1);
}

void SdlWindow::PushPaint() {
    const bool pending = std::any_of(queue_.begin(), queue_.end(),
                                     [](const WindowEvent& e) { return e.type == WindowEvent::Type::Paint; });
    if (!pending) queue_.push_back(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void SdlWindow::Invalidate() { PushPaint(); }

void SdlWindow::PostDestroy() { queue_.push_back(WindowEvent{WindowEvent::Type::Destroy, 0, 0, false}); }

void SdlWindow::ToDisplay(int wx, int wy, int& x, int& y) const {
    // A stylus cannot leave the screen: positions in the letterbox clamp.
    const int dx = wx - offsetX_, dy = wy - offsetY_;
    x = dx < 0 ? 0 : std::min(kDisplayWidth - 1, dx / scale_);
    y = dy < 0 ? 0 : std::min(kDisplayHeight - 1, dy / scale_);
}

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
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_RESIZED) {
                Layout();
                out = WindowEvent{WindowEvent::Type::Paint, 0, 0, false};
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
                e.window.event == SDL_WINDOWEVENT_RESTORED) {
                out = WindowEvent{WindowEvent::Type::Paint, 0, 0, false};
                return true;
            }
            return false;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) return false;
            primaryDown_ = true;
            out.type = WindowEvent::Type::PenDown;
            ToDisplay(e.button.x, e.button.y, out.x, out.y);
            out.primaryOnly = true;
            return true;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) return false;
            primaryDown_ = false;
            out.type = WindowEvent::Type::PenUp;
            ToDisplay(e.button.x, e.button.y, out.x, out.y);
            out.primaryOnly = false;
            return true;
        case SDL_MOUSEMOTION:
            out.type = WindowEvent::Type::PenMove;
            ToDisplay(e.motion.x, e.motion.y, out.x, out.y);
            out.primaryOnly = e.motion.state == SDL_BUTTON_LMASK;
            return true;
        default:
            if (e.type == raiseEvent_ && raiseEvent_ != 0) Raise();
            return false;
    }
}

bool SdlWindow::PollEvent(WindowEvent& event) {
    if (!queue_.empty()) {
        event = queue_.front();
        queue_.pop_front();
        return true;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (Translate(e, event)) return true;
    }
    return false;
}

bool SdlWindow::WaitEvent(WindowEvent& event, uint32_t timeoutMs) {
    if (PollEvent(event)) return true;
    SDL_Event e;
    const bool woken = timeoutMs == kNoTimeout ? SDL_WaitEvent(&e) != 0
                                               : SDL_WaitEventTimeout(&e, static_cast<int>(timeoutMs)) != 0;
    return woken && Translate(e, event);
}

}  // namespace pw
