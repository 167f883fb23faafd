#include "app/ReplayFile.h"

namespace pw {

ReplayFile::~ReplayFile() {
    reader_.reset();
    text_.reset();
    if (file_ != nullptr) std::fclose(file_);
}

bool ReplayFile::Open(const std::string& path, ReplayHeader& header, std::string& error) {
    path_ = path;
    InputFileProblem problem = InputFileProblem::None;
    std::string reason;
    file_ = OpenInputFile(path_, problem, reason);
    if (problem == InputFileProblem::NotAFile) {
        error = "replay '" + path_ + "' is not a file";
        return false;
    }
    if (file_ == nullptr) {
        error = "cannot read replay file '" + path_ + "': " + reason;
        return false;
    }
    text_ = std::make_unique<FileReplayText>(file_);
    {
        // Read through once, so that a bad line is reported before anything
        // plays.
        ReplayReader check(*text_);
        ReplayHeader ignored;
        ReplayEvent event;
        if (check.ReadHeader(ignored))
            while (check.Next(event)) {
            }
        if (!check.Error().empty()) {
            error = path_ + ": " + check.Error();
            return false;
        }
    }
    if (std::ferror(file_) != 0) {
        error = "cannot read replay file '" + path_ + "'";
        return false;
    }
    // Then played from its start.
    std::rewind(file_);
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
