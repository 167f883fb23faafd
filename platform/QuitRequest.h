#pragma once
// Whether the game has been asked to end by a signal (SIGTERM, Ctrl-C). A
// write that waits for a slow reader gives up once it is set, so that the
// request is not held up for ever by a reader that never reads. Safe to set
// from a signal handler.
namespace pw {

void NoteQuitRequest();
bool QuitRequested();

}  // namespace pw
