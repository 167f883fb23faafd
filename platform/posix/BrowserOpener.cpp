#include "platform/posix/BrowserOpener.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pw {

namespace {

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    std::string folders(path);
    size_t start = 0;
    for (;;) {
        const size_t end = folders.find(':', start);
        const std::string folder =
            folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

}  // namespace

bool OpenInBrowser(const std::string& path, std::string& reason) {
    if (!OnPath("xdg-open")) {
        reason = "there is no xdg-open";
        return false;
    }
    // Started from a child that ends at once, so that the browser's opener is
    // never left as a zombie of the game.
    const pid_t child = fork();
    if (child < 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (child == 0) {
        if (fork() == 0) {
            const char* argv[] = {"xdg-open", path.c_str(), nullptr};
            execvp(argv[0], const_cast<char* const*>(argv));
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace pw
