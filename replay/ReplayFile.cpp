#include "replay/ReplayFile.h"

namespace pw {

bool ReplayFile::Open(const std::string& path, ReplayHeader& header, std::string& error) {
    path_ = path;
    std::string reason;
    if (!input_.Open(path_, reason)) {
        error = "cannot read replay file '" + path_ + "': " + reason;
        return false;
    }
    {
        // Read through once, so that a bad line is reported before anything
        // plays.
        ReplayReader check(text_);
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
    // Then played from its start.
    if (input_.Failed() || !input_.Rewind()) {
        error = "cannot read replay file '" + path_ + "'";
        return false;
    }
    reader_ = std::make_unique<ReplayReader>(text_);
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
