#include "platform/sdl/SdlRuntime.h"

#include <SDL.h>

#include <cstring>

namespace pw {

namespace {

bool ShowsNothing(const char* driver) {
    if (driver == nullptr) return true;
    for (const char* offscreen : {"offscreen", "dummy", "evdev"})
        if (std::strcmp(driver, offscreen) == 0) return true;
    return false;
}

// Names the displays that were looked for, so the message says what to mend.
std::string DisplaysLookedFor() {
    std::string said;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = SDL_getenv(variable);
        said += std::string(said.empty() ? "" : ", ") + variable +
                (value != nullptr ? std::string(" is '") + value + "'" : std::string(" is not set"));
    }
    return said;
}

}  // namespace

SdlRuntime::SdlRuntime(bool video) {
    SDL_SetMainReady();
    if (video) {
        // Presented through the window surface: keep the GL stack unloaded.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            error_ = SDL_GetError();
        } else if (ShowsNothing(SDL_GetCurrentVideoDriver())) {
            // Without a display SDL falls back to a driver that draws into
            // memory: the game would run with no window for anyone to see.
            const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
            if (chosen != nullptr && chosen[0] != '\0')
                error_ = std::string("the video driver '") + SDL_GetCurrentVideoDriver() +
                         "', chosen by SDL_VIDEODRIVER, shows nothing (unset SDL_VIDEODRIVER to use the "
                         "display; --headless runs without a window)";
            else
                error_ = std::string("no display could be opened (the only video driver that started, '") +
                         SDL_GetCurrentVideoDriver() + "', shows nothing; " + DisplaysLookedFor() +
                         "; --headless runs without a window)";
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        } else {
            video_ = true;
        }
    }
}

SdlRuntime::~SdlRuntime() { SDL_Quit(); }

}  // namespace pw
