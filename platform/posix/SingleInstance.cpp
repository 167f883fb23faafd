#include "platform/posix/SingleInstance.h"

#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

namespace pw {

namespace {

constexpr char kLockName[] = "instance.lock";
constexpr char kSocketName[] = "instance.sock";
// How long a second copy tries to reach the first: long enough for a first
// copy that is still starting to begin listening, short enough that a
// stopped one cannot hang the start.
constexpr long kSignalWindowMs = 1000;

long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

void SleepMs(int ms) {
    timespec ts{0, static_cast<long>(ms) * 1000000L};
    nanosleep(&ts, nullptr);
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/' ? user->pw_dir : "";
}

}  // namespace

std::vector<std::string> SingleInstance::Folders() {
    std::vector<std::string> folders;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        folders.push_back(std::string(runtime) + "/pivotwarden");
    else
        folders.push_back("/tmp/pivotwarden-" + std::to_string(getuid()));
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string cacheRoot = cache != nullptr && cache[0] == '/' ? cache
                                  : HomeFolder().empty()              ? ""
                                                                      : HomeFolder() + "/.cache";
    if (!cacheRoot.empty()) folders.push_back(cacheRoot + "/pivotwarden");
    return folders;
}

SingleInstance::SingleInstance() : folders_(Folders()) {}

SingleInstance::SingleInstance(std::vector<std::string> folders) : folders_(std::move(folders)) {}

SingleInstance::SingleInstance(std::string folder) : folders_{std::move(folder)} {}

SingleInstance::~SingleInstance() {
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(socketPath_.c_str());
    }
    if (lockFd_ >= 0) close(lockFd_);
}

bool SingleInstance::OpenFolder() {
    problem_.clear();
    for (const std::string& folder : folders_) {
        // The user's cache folder may not be there yet; it is the user's own
        // and private, as the runtime folder is.
        if (&folder != &folders_.front()) mkdir(ParentOf(folder).c_str(), 0700);
        std::string refused;
        if (folder_.Open(folder, refused)) {
            folderPath_ = folder;
            problem_.clear();
            return true;
        }
        problem_ += (problem_.empty() ? "" : "; ") + refused;
    }
    if (problem_.empty()) problem_ = "no folder to keep the lock in";
    return false;
}

SingleInstance::Claim SingleInstance::ClaimOrSignal() {
    // Another user may have made the shared folder first: the user's own
    // folder then serves instead, so that the check is never off.
    if (!OpenFolder()) return Claim::Unavailable;
    sockaddr_un address{};
    folder_.SocketAddress(kSocketName, address);
    socketPath_ = address.sun_path;
    lockFd_ = folder_.OpenFile(kLockName);
    if (lockFd_ < 0) {
        problem_ = "cannot open '" + folderPath_ + "/" + kLockName + "': " + std::strerror(errno);
        return Claim::Unavailable;
    }

    if (flock(lockFd_, LOCK_EX | LOCK_NB) != 0 || FindCopyInLaterFolder(address)) {
        close(lockFd_);
        lockFd_ = -1;
        if (SignalFirstCopy(address)) return Claim::AnotherRuns;
        problem_ = "another copy is running but does not answer";
        return Claim::NoAnswer;
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

// A copy that found the shared folder taken by another user runs from a
// later folder; should that user then remove theirs, a copy starting now
// would take the shared folder as free. So the later folders are looked at
// too (without making them): a lock held there is another copy.
bool SingleInstance::FindCopyInLaterFolder(sockaddr_un& address) {
    bool later = false;
    for (const std::string& folder : folders_) {
        if (!later) {
            later = folder == folderPath_;
            continue;
        }
        // Kept open while the copy there is called: the socket's address
        // may lead through it.
        auto other = std::make_unique<PrivateFolder>();
        std::string ignored;
        if (!other->OpenExisting(folder, ignored)) continue;
        const int lock = other->OpenExistingFile(kLockName);
        if (lock < 0) continue;
        const bool held = flock(lock, LOCK_EX | LOCK_NB) != 0;
        close(lock);
        if (!held) continue;
        other->SocketAddress(kSocketName, address);
        laterFolder_ = std::move(other);
        return true;
    }
    return false;
}

bool SingleInstance::SignalFirstCopy(const sockaddr_un& address) {
    // Non-blocking: a stopped first copy never accepts, and once its queue is
    // full a blocking connect would wait for ever.
    const long deadline = NowMs() + kSignalWindowMs;
    for (;;) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const char request[] = "raise\n";
            const ssize_t length = sizeof request - 1;
            // The first copy may close as soon as it has read: never die of SIGPIPE.
            const bool sent = send(fd, request, length, MSG_NOSIGNAL) == length;
            // A connection is taken by the system even for a copy that is
            // stopped: only its answer (or its closing the connection, as
            // older copies do) shows it is there to raise its window.
            const bool answered = sent && AwaitAnswer(fd, deadline);
            close(fd);
            return answered;
        } else {
            close(fd);
        }
        // Not listening yet, or its queue is full: try again until the time is up.
        if (NowMs() >= deadline) return false;
        SleepMs(10);
    }
}

bool SingleInstance::AwaitAnswer(int fd, long deadline) {
    for (;;) {
        const long left = deadline - NowMs();
        if (left <= 0) return false;
        pollfd answer{fd, POLLIN, 0};
        const int ready = poll(&answer, 1, static_cast<int>(left));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

bool SingleInstance::TakeRaiseRequest() {
    if (listenFd_ < 0) return false;
    bool asked = false;
    for (;;) {
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) break;
        asked = true;
        // Read the request before closing, so the caller's write does not fail;
        // a caller that never writes is not waited for long.
        pollfd request{fd, POLLIN, 0};
        char ignored[16];
        if (poll(&request, 1, 100) > 0) {
            const ssize_t got = read(fd, ignored, sizeof ignored);
            (void)got;
        }
        const char answer[] = "ok\n";
        const ssize_t sent = send(fd, answer, sizeof answer - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        (void)sent;  // a caller that left needs no answer
        close(fd);
    }
    return asked;
}

}  // namespace pw
