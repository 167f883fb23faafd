#include "app/ReplayFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pw {

bool ReplayFile::Check(std::string& error) {
    struct stat info;
    if (stat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = "replay '" + path_ + "' is not a file";
        return false;
    }
    std::ifstream file(path_, std::ios::binary);
    if (!file) {
        error = "cannot read replay file '" + path_ + "': " + std::strerror(errno);
        return false;
    }
    ReplayReader reader(file);
    ReplayHeader header;
    ReplayEvent event;
    if (reader.ReadHeader(header))
        while (reader.Next(event)) {
        }
    if (!reader.Error().empty()) {
        error = path_ + ": " + reader.Error();
        return false;
    }
    if (file.bad()) {
        error = "cannot read replay file '" + path_ + "'";
        return false;
    }
    return true;
}

bool ReplayFile::Open(const std::string& path, ReplayHeader& header, std::string& error) {
    path_ = path;
    if (!Check(error)) return false;
    file_.open(path, std::ios::binary);
    reader_ = std::make_unique<ReplayReader>(file_);
    if (!file_ || !reader_->ReadHeader(header)) {
        error = "cannot read replay file '" + path + "'";
        return false;
    }
    return true;
}

bool ReplayFile::Next(ReplayEvent& event) { return reader_ != nullptr && reader_->Next(event); }

std::string ReplayFile::Error() const {
    if (reader_ == nullptr || reader_->Error().empty()) return std::string();
    return path_ + ": " + reader_->Error();
}

}  // namespace pw
