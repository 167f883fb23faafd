#include "replay/ReplayRecorder.h"

namespace pw {

bool ReplayRecorder::Open(const std::string& path, const ReplayHeader& header, std::string& error) {
    started_ = false;
    return lines_.Open(path, "pivotwarden-replay 1\n" + FormatReplayHeader(header), error);
}

void ReplayRecorder::Record(const ReplayEvent& event) {
    if (!started_) {
        started_ = true;
        firstAt_ = event.at;
    }
    ReplayEvent written = event;
    // Unsigned: the difference is right across the clock's wrap.
    written.at = event.at - firstAt_ + 1;
    lines_.Write(FormatReplayEvent(written));
}

bool ReplayRecorder::Close(std::string& error) { return lines_.Close(error); }

}  // namespace pw
