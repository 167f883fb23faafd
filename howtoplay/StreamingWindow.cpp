#include "howtoplay/StreamingWindow.h"

#include "howtoplay/FrameStream.h"

namespace pw {

void StreamingWindow::Present(const Surface& back, const Rect& area) {
    inner_.Present(back, area);
    if (!error_.empty()) return;
    const std::string record = EncodeFrame(clock_.Now(), inner_.Shown(), area);
    if (!record.empty()) out_.Write(record.data(), record.size(), error_);
}

}  // namespace pw
