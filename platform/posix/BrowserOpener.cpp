#include "platform/posix/BrowserOpener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/ProcessStart.h"

namespace pw {

namespace {

// The program's file in the first folder of PATH that holds one, or empty.
std::string FindOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return std::string();
    const std::string folders(path);
    for (size_t start = 0;;) {
        const size_t end = folders.find(':', start);
        const std::string folder =
            folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string file = folder + "/" + program;
        struct stat info;
        if (!folder.empty() && stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(file.c_str(), X_OK) == 0)
            return file;
        if (end == std::string::npos) return std::string();
        start = end + 1;
    }
}

// What the opener's helpers tell the game through a pipe: that it could not
// be started (the errno), or how it ended. One write each, shorter than
// PIPE_BUF, so that neither is torn.
struct Outcome {
    int startFailure = 0;
    int status = 0;
};

void Tell(int report, const Outcome& outcome) {
    ssize_t put;
    do {
        put = write(report, &outcome, sizeof outcome);
    } while (put < 0 && errno == EINTR);
}

// A browser that takes the opener's place (no desktop to hand the page to)
// keeps it running: past this the opener is taken to have worked.
constexpr int kEndWaitMs = 1500;

// Runs in the child: starts the opener in a grandchild, whose end a
// great-grandchild waits for and tells, and ends at once, so that the game
// has no zombie and waits for nobody. Only async-signal-safe calls here.
[[noreturn]] void StartOpener(const char* opener, const char* const* argv, int report) {
    const pid_t watcher = fork();
    if (watcher != 0) {
        if (watcher < 0) Tell(report, Outcome{errno, 0});
        _exit(0);
    }
    const pid_t started = fork();
    if (started == 0) {
        ResetSignalsForExec();
        execv(opener, const_cast<char* const*>(argv));
        Tell(report, Outcome{errno, 0});
        _exit(127);
    }
    Outcome ended;
    if (started < 0) ended.startFailure = errno;
    while (started > 0 && waitpid(started, &ended.status, 0) < 0 && errno == EINTR) {
    }
    Tell(report, ended);
    _exit(0);
}

// The first word on the opener, if it comes within kEndWaitMs.
bool ReadOutcome(int report, Outcome& outcome) {
    pollfd ready{report, POLLIN, 0};
    int polled;
    do {
        polled = poll(&ready, 1, kEndWaitMs);
    } while (polled < 0 && errno == EINTR);
    if (polled <= 0) return false;
    ssize_t got;
    do {
        got = read(report, &outcome, sizeof outcome);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof outcome);
}

}  // namespace

bool OpenInBrowser(const std::string& path, std::string& reason) {
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) {
        reason = "there is no xdg-open";
        return false;
    }
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    // Everything the children need is made before they start: between fork
    // and exec only async-signal-safe calls are allowed.
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    const pid_t child = fork();
    if (child == 0) StartOpener(opener.c_str(), argv, report[1]);
    const int forkFailure = errno;
    close(report[1]);
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    Outcome outcome;
    const bool told = child > 0 && ReadOutcome(report[0], outcome);
    close(report[0]);
    if (child < 0) {
        reason = std::strerror(forkFailure);
        return false;
    }
    if (!told || (outcome.startFailure == 0 && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0))
        return true;
    if (outcome.startFailure != 0)
        reason = opener + " cannot be started: " + std::strerror(outcome.startFailure);
    else if (WIFEXITED(outcome.status))
        reason = opener + " ended with status " + std::to_string(WEXITSTATUS(outcome.status));
    else
        reason = opener + " was ended by signal " + std::to_string(WTERMSIG(outcome.status));
    return false;
}

}  // namespace pw
