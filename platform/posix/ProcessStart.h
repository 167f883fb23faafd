#pragma once
// What the desktop game settles about its process before anything else runs,
// and what it undoes for a program it starts.
namespace pw {

// Puts /dev/null on any of the standard descriptors 0 to 2 that is closed:
// otherwise the next file or connection opened (the display's, a dump's)
// would take that number, and a message meant for the terminal would be
// written into it. Ignores SIGPIPE and SIGXFSZ, so that a reader that went
// away, or a file size limit, shows as a failed write, reported as such,
// rather than ending the game.
void PrepareProcess();

// In a child between fork and exec (async-signal-safe only): the program
// started gets no signal blocked (the game's threads block the stop signals
// to wait for them) and the default action for SIGINT, SIGTERM, SIGPIPE and
// SIGXFSZ, as from a shell, so that it ends when it is asked to.
void ResetSignalsForExec();

}  // namespace pw
