#pragma once
// SIGINT and SIGTERM end the windowed game as the close button does: a
// thread of its own takes them (they are blocked everywhere else) and posts
// SDL's quit event, which wakes the game's loop however long it sleeps. A
// signal handler cannot do that safely: a signal landing just before the
// loop starts to wait would be seen only at the next message, which may
// never come. Construct it on the game's thread before other threads start;
// the signals stay blocked until the process ends.
#include <thread>

namespace pw {

class QuitSignalWatcher {
public:
    QuitSignalWatcher();
    ~QuitSignalWatcher();
    QuitSignalWatcher(const QuitSignalWatcher&) = delete;
    QuitSignalWatcher& operator=(const QuitSignalWatcher&) = delete;

private:
    void Watch();

    int signalFd_ = -1;
    int stopFd_ = -1;
    std::thread thread_;
};

}  // namespace pw
