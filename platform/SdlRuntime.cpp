#include "platform/SdlRuntime.h"

#include <SDL.h>

namespace pw {

SdlRuntime::SdlRuntime(bool video) {
    SDL_SetMainReady();
    if (video) {
        // Presented through the window surface: keep the GL stack unloaded.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0)
            video_ = true;
        else
            error_ = SDL_GetError();
    }
}

SdlRuntime::~SdlRuntime() { SDL_Quit(); }

}  // namespace pw
