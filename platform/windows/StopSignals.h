#pragma once
// Ctrl-C, Ctrl-Break and closing the console while a replay runs: the event
// is only noted, so that the replay stops at its next pass and the program
// then ends as Windows ends a program on Ctrl-C. A second event ends the
// program at once.
namespace pw {

class StopSignals {
public:
    static void Catch();
    // The event that came (its number plus one), or 0.
    static int Received();
    // Ends the program as Ctrl-C does when one came; returns when none came.
    static void RaiseAgain();
};

}  // namespace pw
