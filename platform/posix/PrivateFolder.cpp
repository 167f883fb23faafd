#include "platform/posix/PrivateFolder.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pw {

PrivateFolder::~PrivateFolder() {
    if (fd_ >= 0) close(fd_);
}

bool PrivateFolder::Open(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
        return false;
    }
    return OpenExisting(path, error);
}

bool PrivateFolder::OpenExisting(const std::string& path, std::string& error) {
    // Opened once and checked through the descriptor, so the folder cannot be
    // swapped between the check and its use. O_NOFOLLOW with O_DIRECTORY
    // refuses a symbolic link.
    int fd = open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "'" + path + "' is not a folder";
    } else if (info.st_uid != geteuid()) {
        error = "'" + path + "' belongs to another user";
    } else if ((info.st_mode & 0077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        error = "'" + path + "' is open to other users (mode " + mode + ")";
    } else {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
        path_ = path;
        return true;
    }
    close(fd);
    return false;
}

int PrivateFolder::OpenFile(const char* name) const {
    return openat(fd_, name, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int PrivateFolder::OpenExistingFile(const char* name) const {
    return openat(fd_, name, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
}

void PrivateFolder::SocketAddress(const char* name, sockaddr_un& address) const {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::string path = path_ + "/" + name;
    if (path.size() >= sizeof address.sun_path) path = "/proc/self/fd/" + std::to_string(fd_) + "/" + name;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
}

}  // namespace pw
