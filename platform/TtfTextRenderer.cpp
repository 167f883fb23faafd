#include "platform/TtfTextRenderer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <vector>

#include "resources/EmbeddedResources.h"

namespace pw {

namespace {
int32_t CellHeight(int32_t requested) {
    // A LOGFONT height below zero asks for the glyph height; zero is the
    // default size. Both are treated as a cell of that many pixels.
    if (requested < 0) requested = -requested;
    if (requested == 0) requested = 16;
    return std::min<int32_t>(requested, 200);
}

std::vector<Uint16> Terminated(const std::u16string& text) {
    std::vector<Uint16> out(text.begin(), text.end());
    out.push_back(0);
    return out;
}
}  // namespace

TtfTextRenderer::TtfTextRenderer() { ready_ = TTF_WasInit() > 0 || TTF_Init() == 0; }

TtfTextRenderer::~TtfTextRenderer() {
    for (auto& entry : fonts_)
        if (entry.second != nullptr) TTF_CloseFont(entry.second);
}

TTF_Font* TtfTextRenderer::FontFor(int32_t requested) {
    const int32_t cell = CellHeight(requested);
    auto found = fonts_.find(cell);
    if (found != fonts_.end()) return found->second;
    TTF_Font* chosen = nullptr;
    const EmbeddedResource* data = FindEmbedded(EmbeddedKind::Font, 1);
    if (ready_ && data != nullptr) {
        // The largest point size whose line height still fits the cell.
        for (int points = cell; points >= 1; --points) {
            TTF_Font* font =
                TTF_OpenFontRW(SDL_RWFromConstMem(data->begin, static_cast<int>(data->Size())), 1, points);
            if (font == nullptr) break;
            if (TTF_FontHeight(font) <= cell) {
                chosen = font;
                break;
            }
            TTF_CloseFont(font);
        }
    }
    if (chosen != nullptr) TTF_SetFontHinting(chosen, TTF_HINTING_NORMAL);
    fonts_[cell] = chosen;
    return chosen;
}

Size TtfTextRenderer::Measure(const LogFont& font, const std::u16string& text) {
    TTF_Font* f = FontFor(font.height);
    if (f == nullptr) return Size{0, CellHeight(font.height)};
    int w = 0, h = 0;
    if (!text.empty()) TTF_SizeUNICODE(f, Terminated(text).data(), &w, &h);
    return Size{w, CellHeight(font.height)};
}

void TtfTextRenderer::Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
                           Surface& dst) {
    dst.Fill(0, 0, dst.Width(), dst.Height(), background);
    TTF_Font* f = FontFor(font.height);
    if (f == nullptr || text.empty()) return;
    // Solid rendering: every pixel is glyph or background, never a blend, so
    // a keyed copy leaves no fringe.
    SDL_Surface* glyphs = TTF_RenderUNICODE_Solid(f, Terminated(text).data(), SDL_Color{255, 255, 255, 255});
    if (glyphs == nullptr) return;
    const int ox = (dst.Width() - glyphs->w) / 2;
    const int oy = (dst.Height() - glyphs->h) / 2;
    SDL_LockSurface(glyphs);
    for (int y = 0; y < glyphs->h; ++y) {
        const int dy = oy + y;
        if (dy < 0 || dy >= dst.Height()) continue;
        const auto* row = static_cast<const uint8_t*>(glyphs->pixels) + y * glyphs->pitch;
        for (int x = 0; x < glyphs->w; ++x) {
            const int dx = ox + x;
            if (dx < 0 || dx >= dst.Width()) continue;
            if (row[x] != 0) dst.Set(dx, dy, colour);
        }
    }
    SDL_UnlockSurface(glyphs);
    SDL_FreeSurface(glyphs);
}

}  // namespace pw
