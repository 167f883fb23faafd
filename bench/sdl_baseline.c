/* The floor the windowed game is measured against: a trivial SDL2 program
   that opens a 480 x 640 window, presents its surface once (through the
   window surface, as the game does, not OpenGL) and then blocks in
   SDL_WaitEvent until it is asked to quit: no wake-up of its own while idle.
   Each release of a mouse button repaints the whole window in the other of
   two colours at once: the floor of "click to changed pixel". */
#include <SDL.h>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window =
        SDL_CreateWindow("sdl-baseline", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 480, 640, 0);
    if (window == NULL) return 1;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface != NULL) {
        SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 30, 46, 90));
        SDL_UpdateWindowSurface(window);
    }
    int dark = 1;
    for (;;) {
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) continue;
        if (event.type == SDL_QUIT) break;
        if (event.type == SDL_MOUSEBUTTONUP && (surface = SDL_GetWindowSurface(window)) != NULL) {
            dark = !dark;
            SDL_FillRect(surface, NULL, dark ? SDL_MapRGB(surface->format, 30, 46, 90)
                                             : SDL_MapRGB(surface->format, 200, 200, 90));
            SDL_UpdateWindowSurface(window);
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
