#include "platform/PngWriter.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

namespace pw {

bool WritePng(const Surface& picture, const std::string& path, std::string& error) {
    if (picture.Width() <= 0 || picture.Height() <= 0) {
        error = "nothing to write to '" + path + "'";
        return false;
    }
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, picture.Width(), picture.Height(), 32, SDL_PIXELFORMAT_RGB888);
    if (s == nullptr) {
        error = std::string("cannot make a picture: ") + SDL_GetError();
        return false;
    }
    SDL_LockSurface(s);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < picture.Width(); ++x) row[x] = picture.At(x, y);
    }
    SDL_UnlockSurface(s);
    // Write beside the target and rename, so a failed write leaves no half file.
    const std::string temporary = path + ".part";
    const bool ok = IMG_SavePNG(s, temporary.c_str()) == 0;
    SDL_FreeSurface(s);
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write screenshot '" + path + "'";
        return false;
    }
    return true;
}

}  // namespace pw
