#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace pw {

namespace {

bool FillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void SleepMs(int ms) {
    timespec ts{0, static_cast<long>(ms) * 1000000L};
    nanosleep(&ts, nullptr);
}

}  // namespace

std::string SingleInstance::RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/pivotwarden";
    return "/tmp/pivotwarden-" + std::to_string(getuid());
}

SingleInstance::~SingleInstance() {
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(socketPath_.c_str());
    }
    if (lockFd_ >= 0) close(lockFd_);
}

SingleInstance::Claim SingleInstance::ClaimOrSignal() {
    const std::string folder = RuntimeFolder();
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return Claim::Unavailable;
    socketPath_ = folder + "/instance.sock";
    const std::string lockPath = folder + "/instance.lock";
    lockFd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return Claim::Unavailable;
    sockaddr_un address{};
    if (!FillAddress(socketPath_, address)) return Claim::Unavailable;

    if (flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        close(lockFd_);
        lockFd_ = -1;
        // The first copy may still be starting: give it a moment to listen.
        for (int attempt = 0; attempt < 50; ++attempt) {
            int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0) break;
            if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                const char request[] = "raise\n";
                ssize_t written = write(fd, request, sizeof request - 1);
                (void)written;
                close(fd);
                break;
            }
            close(fd);
            SleepMs(10);
        }
        return Claim::AnotherRuns;
    }

    unlink(socketPath_.c_str());  // left over from a copy that crashed
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return Claim::First;
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenFd_, 4) != 0) {
        close(listenFd_);
        listenFd_ = -1;
    }
    return Claim::First;
}

bool SingleInstance::TakeRaiseRequest() {
    if (listenFd_ < 0) return false;
    bool asked = false;
    for (;;) {
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) break;
        asked = true;
        close(fd);
    }
    return asked;
}

}  // namespace pw
