#pragma once
// Ctrl-C, Ctrl-Break and closing the console the game was started from end
// the windowed game as the close button does: Windows calls the handler on
// a thread of its own, which posts SDL's quit event, so the game closes
// through its usual path and keeps the player's settings.
namespace pw {

class QuitSignalWatcher {
public:
    QuitSignalWatcher();
    ~QuitSignalWatcher();
    QuitSignalWatcher(const QuitSignalWatcher&) = delete;
    QuitSignalWatcher& operator=(const QuitSignalWatcher&) = delete;
};

}  // namespace pw
