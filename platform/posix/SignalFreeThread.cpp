#include "platform/SignalFreeThread.h"

#include <pthread.h>
#include <signal.h>

namespace pw {

std::thread StartSignalFreeThread(std::function<void()> body) {
    // A new thread inherits the signal mask of the one that starts it.
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    std::thread thread(std::move(body));
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return thread;
}

}  // namespace pw
