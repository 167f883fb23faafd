#include "platform/posix/OutputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/QuitRequest.h"

namespace pw {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// As the kernel's protected_symlinks has it: in a folder that anyone may
// write to and only owners may delete from (/tmp), a link is followed only
// when it is the user's own or the folder owner's. Another user could
// otherwise plant one at a name the player is expected to use, leading to
// the player's own files.
bool IsPlantedLink(const std::string& path, const struct stat& link) {
    struct stat folder;
    if (stat(FolderOf(path).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && link.st_uid != geteuid() && link.st_uid != folder.st_uid;
}

mode_t CreationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

bool OutputFile::Failed(std::string& error, const char* reason) {
    if (errno_ == 0) {
        errno_ = errno != 0 ? errno : EIO;
        reason_ = reason != nullptr ? reason : std::strerror(errno_);
    }
    error = reason_;
    return false;
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    errno_ = 0;
    reason_.clear();
    struct stat info;
    const bool exists = lstat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) return OpenInPlace(info, error);
    if (!exists && errno != ENOENT) return Failed(error);
    std::string temporary = FolderOf(path) + "/.pivotwarden-XXXXXX";
    fd_ = mkstemp(&temporary[0]);
    if (fd_ < 0) return Failed(error);
    temporary_ = temporary;
    if (fchmod(fd_, exists ? (info.st_mode & 07777) : CreationMode()) != 0) {
        Failed(error);
        Discard();
        return false;
    }
    return true;
}

bool OutputFile::OpenInPlace(const struct stat& info, std::string& error) {
    const bool link = S_ISLNK(info.st_mode);
    if (link && IsPlantedLink(path_, info)) {
        errno = EPERM;
        return Failed(error, "it is a link another user made in a shared folder, and is not followed");
    }
    // Without O_NONBLOCK, opening a FIFO waits for a reader, for ever if none
    // comes; with it, a FIFO without a reader fails at once.
    fd_ =
        open(path_.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | (link ? 0 : O_NOFOLLOW));
    if (fd_ < 0 && errno == ENXIO) return Failed(error, "nothing is reading from it");
    return fd_ >= 0 || Failed(error);
}

// The file stays non-blocking: a reader that stops reading is waited for
// here, where a request to end the game is seen, rather than inside write.
bool OutputFile::WaitUntilWritable(std::string& error) {
    for (;;) {
        if (QuitRequested()) {
            errno = EINTR;
            return Failed(error, "the game was asked to end while the reader was not reading");
        }
        pollfd writable{fd_, POLLOUT, 0};
        const int ready = poll(&writable, 1, 100);
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return Failed(error);
    }
}

bool OutputFile::Write(const void* data, size_t size, std::string& error) {
    if (errno_ != 0 || fd_ < 0) {
        if (fd_ < 0) errno = EBADF;
        return Failed(error);
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = write(fd_, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno == EAGAIN) {
            if (!WaitUntilWritable(error)) return false;
            continue;
        }
        if (put <= 0) return Failed(error);
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

bool OutputFile::Publish(std::string& error) {
    if (errno_ != 0) return Failed(error);
    if (temporary_.empty()) return true;
    if (rename(temporary_.c_str(), path_.c_str()) != 0) return Failed(error);
    temporary_.clear();
    return true;
}

bool OutputFile::Close(std::string& error) {
    if (fd_ < 0) {
        errno = EBADF;
        return Failed(error);
    }
    // A new file reaches the disk before it replaces the old one, so a crash
    // cannot leave an empty file where a whole one was.
    if (errno_ == 0 && !temporary_.empty() && fsync(fd_) != 0) Failed(error);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 && errno_ == 0) Failed(error);
    if (errno_ != 0 || !Publish(error)) {
        Failed(error);
        Discard();
        return false;
    }
    return true;
}

}  // namespace pw
