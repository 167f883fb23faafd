// Windows delivers no POSIX signals to threads (Ctrl-C comes on a thread of
// its own, see StopSignals and QuitSignalWatcher): a helper thread is a
// plain thread.
#include "platform/SignalFreeThread.h"

namespace pw {

std::thread StartSignalFreeThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace pw
