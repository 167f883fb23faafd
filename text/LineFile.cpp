#include "text/LineFile.h"

namespace pw {

std::string LineFile::Failure(const std::string& reason) const {
    return "cannot write " + what_ + " '" + path_ + "': " + reason;
}

bool LineFile::Open(const std::string& path, const std::string& start, std::string& error) {
    path_ = path;
    failure_.clear();
    std::string reason;
    if (!file_.Open(path, reason) || (!start.empty() && !file_.Write(start.data(), start.size(), reason)) ||
        !file_.Publish(reason)) {
        error = Failure(reason);
        file_.Close(reason);
        return false;
    }
    return true;
}

void LineFile::Write(const std::string& line) {
    if (!file_.IsOpen() || !failure_.empty()) return;
    const std::string text = line + "\n";
    std::string reason;
    if (!file_.Write(text.data(), text.size(), reason)) failure_ = Failure(reason);
}

bool LineFile::Close(std::string& error) {
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
