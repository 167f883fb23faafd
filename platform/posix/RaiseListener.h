#pragma once
// Waits on a thread of its own for another copy to call the one-copy socket,
// so that the game's loop can sleep: a call wakes it once, through onRequest,
// and nothing wakes it otherwise.
#include <functional>
#include <thread>

namespace pw {

class SingleInstance;

class RaiseListener {
public:
    // Does nothing when the instance is not listening. onRequest runs on the
    // listener's thread.
    RaiseListener(SingleInstance& instance, std::function<void()> onRequest);
    ~RaiseListener();
    RaiseListener(const RaiseListener&) = delete;
    RaiseListener& operator=(const RaiseListener&) = delete;

private:
    void Listen(int socket);

    SingleInstance& instance_;
    std::function<void()> onRequest_;
    int stopFd_ = -1;  // an eventfd: written once to end the thread
    std::thread thread_;
};

}  // namespace pw
