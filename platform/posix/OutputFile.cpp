#include "platform/posix/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pw {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

bool OutputFile::Failed(std::string& error) {
    if (errno_ == 0) errno_ = errno != 0 ? errno : EIO;
    error = std::strerror(errno_);
    return false;
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    errno_ = 0;
    struct stat info;
    const bool exists = lstat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        fd_ = open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
        return fd_ >= 0 || Failed(error);
    }
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

bool OutputFile::Write(const void* data, size_t size, std::string& error) {
    if (errno_ != 0 || fd_ < 0) {
        if (fd_ < 0 && errno_ == 0) errno_ = EBADF;
        return Failed(error);
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = write(fd_, bytes, size);
        if (put < 0 && errno == EINTR) continue;
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
        if (errno_ == 0) errno_ = EBADF;
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

bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error) {
    OutputFile file;
    return file.Open(path, error) && file.Write(bytes.data(), bytes.size(), error) && file.Close(error);
}

}  // namespace pw
