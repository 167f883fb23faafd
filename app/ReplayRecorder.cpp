#include "app/ReplayRecorder.h"

namespace pw {

std::string ReplayRecorder::Failure(const std::string& reason) const {
    return "cannot write record file '" + path_ + "': " + reason;
}

bool ReplayRecorder::Open(const std::string& path, const ReplayHeader& header, std::string& error) {
    path_ = path;
    failure_.clear();
    started_ = false;
    const std::string text = "pivotwarden-replay 1\n" + FormatReplayHeader(header);
    std::string reason;
    if (!file_.Open(path, reason) || !file_.Write(text.data(), text.size(), reason) ||
        !file_.Publish(reason)) {
        error = Failure(reason);
        file_.Close(reason);
        return false;
    }
    return true;
}

void ReplayRecorder::Record(const ReplayEvent& event) {
    if (!file_.IsOpen() || !failure_.empty()) return;
    if (!started_) {
        started_ = true;
        firstAt_ = event.at;
    }
    ReplayEvent written = event;
    // Unsigned: the difference is right across the clock's wrap.
    written.at = event.at - firstAt_ + 1;
    const std::string line = FormatReplayEvent(written) + "\n";
    std::string reason;
    if (!file_.Write(line.data(), line.size(), reason)) failure_ = Failure(reason);
}

bool ReplayRecorder::Close(std::string& error) {
    if (!file_.IsOpen()) return failure_.empty() || (error = failure_, false);
    std::string reason;
    const bool closed = file_.Close(reason);
    if (!failure_.empty()) {
        error = failure_;
        return false;
    }
    if (!closed) {
        error = Failure(reason);
        return false;
    }
    return true;
}

}  // namespace pw
