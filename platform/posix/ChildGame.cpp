#include "platform/posix/ChildGame.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pw {

namespace {

std::string Reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// A temporary file holding text, already unlinked; -1 on failure.
int HiddenFile(const std::string& text, std::string& error) {
    const char* folder = std::getenv("TMPDIR");
    std::string path =
        std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/pivotwarden-XXXXXX";
    const int fd = mkostemp(&path[0], O_CLOEXEC);
    if (fd < 0) {
        error = Reason("cannot make a temporary file");
        return -1;
    }
    unlink(path.c_str());
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = Reason("cannot write a temporary file");
            close(fd);
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    if (lseek(fd, 0, SEEK_SET) != 0) {
        error = Reason("cannot rewind a temporary file");
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool ChildGame::Start(const std::string& recording, std::string& error) {
    Stop();
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        error = Reason("cannot find the game's own executable");
        return false;
    }
    self[length] = '\0';
    const int input = HiddenFile(recording, error);
    if (input < 0) return false;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = Reason("cannot make a pipe");
        close(input);
        return false;
    }
    // Everything the child needs is made before it starts: between fork and
    // exec only async-signal-safe calls are allowed.
    const char* argv[] = {self, "--headless", "--replay", "/dev/stdin", "--frames", "/dev/stdout", nullptr};
    sigset_t none;
    sigemptyset(&none);
    const pid_t pid = fork();
    if (pid < 0) {
        error = Reason("cannot start a process");
        close(input);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return false;
    }
    if (pid == 0) {
        // The window's threads may hold signals blocked; the game it starts
        // must see them.
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (dup2(input, 0) < 0 || dup2(pipeEnds[1], 1) < 0) _exit(127);
        execv(self, const_cast<char* const*>(argv));
        _exit(127);
    }
    close(input);
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    pid_ = pid;
    frames_ = pipeEnds[0];
    return true;
}

DemoProcess::Read ChildGame::ReadSome(std::string& out) {
    if (frames_ < 0) return Read::Ended;
    char buffer[65536];
    const ssize_t n = read(frames_, buffer, sizeof buffer);
    if (n > 0) {
        out.append(buffer, static_cast<size_t>(n));
        return Read::Some;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return Read::Nothing;
    return Read::Ended;
}

void ChildGame::Stop() {
    if (frames_ >= 0) {
        close(frames_);
        frames_ = -1;
    }
    if (pid_ > 0) {
        // The game plays on settings held in memory: nothing is lost when it
        // is ended at once, and the window does not wait for it.
        kill(pid_, SIGKILL);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
}

}  // namespace pw
