#include "platform/posix/BrowserOpener.h"

#include <fcntl.h>
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

// Writes the failure's errno to the pipe the parent reads, then ends.
[[noreturn]] void Failed(int report) {
    const int failure = errno;
    ssize_t put;
    do {
        put = write(report, &failure, sizeof failure);
    } while (put < 0 && errno == EINTR);
    _exit(127);
}

}  // namespace

bool OpenInBrowser(const std::string& path, std::string& reason) {
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) {
        reason = "there is no xdg-open";
        return false;
    }
    // Whether it started comes back through a pipe that its exec closes:
    // an errno, or nothing at all.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    // Everything the child needs is made before it starts: between fork and
    // exec only async-signal-safe calls are allowed.
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        reason = std::strerror(errno);
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // Started from a child that ends at once, so that the browser's
        // opener is never left as a zombie of the game.
        const pid_t grandchild = fork();
        if (grandchild < 0) Failed(report[1]);
        if (grandchild == 0) {
            ResetSignalsForExec();
            execv(opener.c_str(), const_cast<char* const*>(argv));
            Failed(report[1]);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int failure = 0;
    ssize_t got;
    do {
        got = read(report[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got != static_cast<ssize_t>(sizeof failure)) return true;
    reason = opener + " cannot be started: " + std::strerror(failure);
    return false;
}

}  // namespace pw
