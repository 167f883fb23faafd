#include "platform/posix/StopSignals.h"

#include <signal.h>

#include <initializer_list>

namespace pw {

namespace {

volatile sig_atomic_t received = 0;

void Note(int signal) { received = signal; }

}  // namespace

void StopSignals::Catch() {
    struct sigaction action {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int StopSignals::Received() { return received; }

void StopSignals::RaiseAgain() {
    const int signal = received;
    if (signal == 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
}

}  // namespace pw
