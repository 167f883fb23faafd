#include "platform/sdl/QuitSignalWatcher.h"

#include <SDL.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/QuitRequest.h"
#include "platform/SignalFreeThread.h"

namespace pw {

QuitSignalWatcher::QuitSignalWatcher() {
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quit, nullptr);
    signalFd_ = signalfd(-1, &quit, SFD_CLOEXEC);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (signalFd_ >= 0 && stopFd_ >= 0) thread_ = StartSignalFreeThread([this]() { Watch(); });
}

QuitSignalWatcher::~QuitSignalWatcher() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        while (write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    if (signalFd_ >= 0) close(signalFd_);
    if (stopFd_ >= 0) close(stopFd_);
}

void QuitSignalWatcher::Watch() {
    for (;;) {
        pollfd fds[2] = {{signalFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        signalfd_siginfo info;
        if (read(signalFd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
        NoteQuitRequest();
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

}  // namespace pw
