#include "platform/windows/ConsoleCloseWatcher.h"

#include <windows.h>

#include <mutex>

namespace pw {

namespace {

// The handler is a plain function: it finds the watcher's wish here.
std::mutex lock;
std::function<void()> close;

BOOL WINAPI AskToClose(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    std::lock_guard<std::mutex> guard(lock);
    if (!close) return FALSE;
    close();
    return TRUE;
}

}  // namespace

ConsoleCloseWatcher::ConsoleCloseWatcher(std::function<void()> onClose) {
    {
        std::lock_guard<std::mutex> guard(lock);
        close = std::move(onClose);
    }
    SetConsoleCtrlHandler(AskToClose, TRUE);
}

ConsoleCloseWatcher::~ConsoleCloseWatcher() {
    SetConsoleCtrlHandler(AskToClose, FALSE);
    std::lock_guard<std::mutex> guard(lock);
    close = nullptr;
}

}  // namespace pw
