// The SDL sound player opens its device on a helper thread that, on a POSIX
// desktop, must take no signals. Windows sends no signals to threads (Ctrl-C
// comes on a thread of its own, see StopSignals and ConsoleCloseWatcher), so
// here the helper is a plain thread.
#include "platform/SignalFreeThread.h"

namespace pw {

std::thread StartSignalFreeThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace pw
