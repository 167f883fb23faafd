#pragma once
// A signal that would end the program (Ctrl-C, SIGTERM, SIGHUP, SIGUSR1,
// SIGALRM and every other whose default is to end it) while a replay runs:
// the signal is only noted, so that the replay stops at its next pass and
// the program cleans up as at any other end before it ends by that same
// signal. A second signal of the same kind ends the program at once.
namespace pw {

class StopSignals {
public:
    static void Catch();
    // The signal that came, or 0.
    static int Received();
    // Ends the program by the signal that came, as if it had not been
    // caught; returns when none came.
    static void RaiseAgain();
};

}  // namespace pw
