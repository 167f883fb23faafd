#include "platform/StopSignals.h"

#include <signal.h>

#include <initializer_list>

#include "platform/QuitRequest.h"

namespace pw {

namespace {

volatile sig_atomic_t received = 0;

void Note(int signal) {
    received = signal;
    NoteQuitRequest();
}

bool IsIgnored(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void StopSignals::Catch() {
    struct sigaction action {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    // Every signal whose default is to end the process and that comes from
    // outside it: the faults a program causes itself (SIGSEGV and the like)
    // are left to end it where they happen. A signal ignored now (SIGPIPE,
    // or one the caller chose to ignore) stays ignored.
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1, SIGUSR2, SIGPOLL, SIGPROF,
                       SIGVTALRM, SIGXCPU, SIGSTKFLT, SIGPWR})
        if (!IsIgnored(signal)) sigaction(signal, &action, nullptr);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        if (!IsIgnored(signal)) sigaction(signal, &action, nullptr);
}

int StopSignals::Received() { return received; }

void StopSignals::RaiseAgain() {
    const int signal = received;
    if (signal == 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    // Blocked while the quit watcher ran; the process ends by it all the same.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
}

}  // namespace pw
