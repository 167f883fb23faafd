#pragma once
// Ctrl-C, Ctrl-Break and closing the console the game was started from end
// the windowed game as its close icon does: Windows calls the handler on a
// thread of its own, which asks for the close through onClose, so the game
// ends through its usual path and keeps the player's settings.
#include <functional>

namespace pw {

class ConsoleCloseWatcher {
public:
    // onClose must be callable from any thread.
    explicit ConsoleCloseWatcher(std::function<void()> onClose);
    ~ConsoleCloseWatcher();
    ConsoleCloseWatcher(const ConsoleCloseWatcher&) = delete;
    ConsoleCloseWatcher& operator=(const ConsoleCloseWatcher&) = delete;
};

}  // namespace pw
