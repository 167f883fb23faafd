#include "platform/InputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pw {

std::FILE* OpenInputFile(const std::string& path, InputFileProblem& problem, std::string& reason) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        problem = InputFileProblem::NotAFile;
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        problem = InputFileProblem::CannotOpen;
        reason = std::strerror(errno);
        return nullptr;
    }
    problem = InputFileProblem::None;
    return file;
}

int GetByteUnlocked(std::FILE* file) { return getc_unlocked(file); }

}  // namespace pw
