#pragma once
// What would end the program while a replay runs is only noted, so that the
// replay stops at its next pass and the program cleans up as at any other
// end, then ends as it would have; a second one ends it at once. On a POSIX
// desktop (posix/): Ctrl-C, SIGTERM, SIGHUP, SIGUSR1, SIGALRM and every other
// signal whose default is to end the program, which then ends by that same
// signal. On Windows (windows/): Ctrl-C, Ctrl-Break and closing the console,
// after which the program ends as Windows ends one on Ctrl-C.
namespace pw {

class StopSignals {
public:
    static void Catch();
    // What came (a signal's number; on Windows the console event's plus
    // one), or 0.
    static int Received();
    // Ends the program as what came would have, as if it had not been
    // caught; returns when nothing came.
    static void RaiseAgain();
};

}  // namespace pw
