#pragma once
// A helper thread that takes no signals: SIGTERM, SIGINT and the like always
// reach the game's own thread, which may be asleep waiting for its next
// message and must wake to handle them. Where no signals go to threads
// (Windows), a plain thread.
#include <functional>
#include <thread>

namespace pw {

std::thread StartSignalFreeThread(std::function<void()> body);

}  // namespace pw
