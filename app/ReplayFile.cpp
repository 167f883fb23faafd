#include "app/ReplayFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pw {

ReplayFile::~ReplayFile() {
    reader_.reset();
    text_.reset();
    if (file_ != nullptr) std::fclose(file_);
}

bool ReplayFile::Check(std::string& error) {
    struct stat info;
    if (stat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = "replay '" + path_ + "' is not a file";
        return false;
    }
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read replay file '" + path_ + "': " + std::strerror(errno);
        return false;
    }
    FileReplayText text(file);
    ReplayReader reader(text);
    ReplayHeader header;
    ReplayEvent event;
    if (reader.ReadHeader(header))
        while (reader.Next(event)) {
        }
    const bool failedToRead = std::ferror(file) != 0;
    std::fclose(file);
    if (!reader.Error().empty()) {
        error = path_ + ": " + reader.Error();
        return false;
    }
    if (failedToRead) {
        error = "cannot read replay file '" + path_ + "'";
        return false;
    }
    return true;
}

bool ReplayFile::Open(const std::string& path, ReplayHeader& header, std::string& error) {
    path_ = path;
    if (!Check(error)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error = "cannot read replay file '" + path + "'";
        return false;
    }
    text_ = std::make_unique<FileReplayText>(file_);
    reader_ = std::make_unique<ReplayReader>(*text_);
    if (!reader_->ReadHeader(header)) {
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
