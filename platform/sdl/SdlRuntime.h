#pragma once
// Starts and stops the SDL libraries the game uses for the run.
#include <string>

namespace pw {

class SdlRuntime {
public:
    // With video false only what the headless backend needs is started.
    // With video true a display must be there: a video driver that shows
    // nothing (off-screen, dummy) is refused and VideoReady() is false.
    explicit SdlRuntime(bool video);
    ~SdlRuntime();
    SdlRuntime(const SdlRuntime&) = delete;
    SdlRuntime& operator=(const SdlRuntime&) = delete;

    bool VideoReady() const { return video_; }
    const std::string& Error() const { return error_; }

private:
    bool video_ = false;
    std::string error_;
};

}  // namespace pw
