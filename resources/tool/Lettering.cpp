#include "Lettering.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <stdexcept>

namespace pw::tool {

Lettering::Lettering(const std::string& fontPath) : fontPath_(fontPath) {
    if (TTF_Init() != 0) throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
}

Lettering::~Lettering() { TTF_Quit(); }

Canvas Lettering::Render(const std::string& utf8, int pointSize, Rgb colour) const {
    TTF_Font* font = TTF_OpenFont(fontPath_.c_str(), pointSize);
    if (!font) throw std::runtime_error("cannot open font " + fontPath_ + ": " + TTF_GetError());
    // Solid rendering: palette index 0 is the background, every other index is glyph.
    SDL_Surface* surface = TTF_RenderUTF8_Solid(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    TTF_CloseFont(font);
    if (!surface) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
    Canvas out(surface->w, surface->h);
    SDL_LockSurface(surface);
    const auto* pixels = static_cast<const Uint8*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x)
            if (pixels[y * surface->pitch + x] != 0) out.Set(x, y, colour);
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return out;
}

}  // namespace pw::tool
