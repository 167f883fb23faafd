#pragma once
// DemoProcess on POSIX: this same executable started again, headless, on the
// recording, its frames read from a pipe that never blocks the window. The
// recording reaches it as its standard input, a temporary file removed as
// soon as it is opened, so that nothing is left behind however the game
// ends.
#include <sys/types.h>

#include "platform/DemoProcess.h"

namespace pw {

class ChildGame : public DemoProcess {
public:
    ChildGame() = default;
    ~ChildGame() override { Stop(); }
    ChildGame(const ChildGame&) = delete;
    ChildGame& operator=(const ChildGame&) = delete;

    bool Start(const std::string& recording, std::string& error) override;
    Read ReadSome(std::string& out) override;
    void Stop() override;

private:
    pid_t pid_ = -1;
    int frames_ = -1;  // the pipe's reading end
};

}  // namespace pw
