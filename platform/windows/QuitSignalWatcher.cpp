#include "platform/windows/QuitSignalWatcher.h"

#include <SDL.h>
#include <windows.h>

namespace pw {

namespace {

BOOL WINAPI PostQuit(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return TRUE;
}

}  // namespace

QuitSignalWatcher::QuitSignalWatcher() { SetConsoleCtrlHandler(PostQuit, TRUE); }

QuitSignalWatcher::~QuitSignalWatcher() { SetConsoleCtrlHandler(PostQuit, FALSE); }

}  // namespace pw
