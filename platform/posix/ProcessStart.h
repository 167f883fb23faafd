#pragma once
// What the desktop game settles about its process before anything else runs.
namespace pw {

// Puts /dev/null on any of the standard descriptors 0 to 2 that is closed:
// otherwise the next file or connection opened (the display's, a dump's)
// would take that number, and a message meant for the terminal would be
// written into it. Ignores SIGPIPE and SIGXFSZ, so that a reader that went
// away, or a file size limit, shows as a failed write, reported as such,
// rather than ending the game.
void PrepareProcess();

}  // namespace pw
