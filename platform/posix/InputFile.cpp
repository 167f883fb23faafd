#include "platform/posix/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pw {

InputFile::~InputFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool InputFile::Open(const std::string& path, std::string& error) {
    // Checked through the open descriptor, so that a FIFO put in the file's
    // place after a check cannot hold the game waiting for a writer:
    // O_NONBLOCK opens a FIFO at once.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        error = "not a file";
        return false;
    }
    file_ = fdopen(fd, "rb");
    if (file_ == nullptr) {
        error = std::strerror(errno);
        close(fd);
        return false;
    }
    return true;
}

bool InputFile::Rewind() {
    if (file_ == nullptr) return false;
    std::rewind(file_);
    return std::ferror(file_) == 0;
}

}  // namespace pw
