#include "platform/posix/InputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pw {

InputFile::~InputFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool InputFile::Open(const std::string& path, std::string& error) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = "not a file";
        return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error = std::strerror(errno);
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
