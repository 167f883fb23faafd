#pragma once
// Waits on a thread of its own for another copy to ask for the window, so
// that the game's loop can sleep: a request wakes it once, through
// onRequest, and is then answered; nothing wakes it otherwise.
#include <functional>
#include <thread>

namespace pw {

class SingleInstance;

class RaiseListener {
public:
    // Does nothing when the instance holds no claim. onRequest runs on the
    // listener's thread.
    RaiseListener(SingleInstance& instance, std::function<void()> onRequest);
    ~RaiseListener();
    RaiseListener(const RaiseListener&) = delete;
    RaiseListener& operator=(const RaiseListener&) = delete;

private:
    void Listen();

    SingleInstance& instance_;
    std::function<void()> onRequest_;
    void* stop_ = nullptr;  // an event: set once to end the thread
    std::thread thread_;
};

}  // namespace pw
