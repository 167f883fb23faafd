#include "platform/posix/RaiseListener.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/SignalFreeThread.h"
#include "platform/posix/SingleInstance.h"

namespace pw {

RaiseListener::RaiseListener(SingleInstance& instance, std::function<void()> onRequest)
    : instance_(instance), onRequest_(std::move(onRequest)) {
    const int socket = instance_.ListeningSocket();
    if (socket < 0) return;
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (stopFd_ < 0) return;
    thread_ = StartSignalFreeThread([this, socket]() { Listen(socket); });
}

RaiseListener::~RaiseListener() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        while (write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    if (stopFd_ >= 0) close(stopFd_);
}

void RaiseListener::Listen(int socket) {
    for (;;) {
        pollfd fds[2] = {{socket, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return;
        if (instance_.TakeRaiseRequest())
            onRequest_();
        else
            usleep(100000);  // readable but nothing accepted (out of descriptors?): do not spin
    }
}

}  // namespace pw
