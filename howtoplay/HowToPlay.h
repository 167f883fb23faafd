#pragma once
// How to play in a window: each recording played by a game in a process of
// its own (DemoProcess), its pictures shown by the window instead of the
// player's, at a person's pace, with a hand at the recorded stylus and one
// short caption at a time. Any press or key ends it; the player's game took
// no input meanwhile and its own picture is shown again, untouched.
#include <string>
#include <vector>

#include "platform/DemoProcess.h"
#include "platform/Platform.h"

namespace pw {

class HowToPlay {
public:
    struct Part {
        std::string recording;  // the text of a replay file
        std::string caption;    // shown from the start
        std::string afterDrag;  // shown once the first drag has ended
    };
    // The recordings are a machine's pace: shown this much slower.
    static constexpr int kSlowerTimesTwo = 5;
    // A finished part stays this long before the next one or the end.
    static constexpr uint32_t kBetweenMs = 1200;
    // How often the window looks for frames that are due.
    static constexpr uint32_t kFrameWaitMs = 10;

    HowToPlay(Window& window, Clock& clock, DemoProcess& process)
        : window_(window), clock_(clock), process_(process) {}

    // Plays the parts in turn until their end, a press or a key (taken here,
    // not passed on), a broken stream or a close, which is posted again for
    // the player's game. Problems that ended it early go to Problem().
    void Run(const std::vector<Part>& parts);
    const std::string& Problem() const { return problem_; }

private:
    enum class Outcome { Done, Stopped };
    Outcome PlayPart(const Part& part);
    Outcome Wait(uint32_t ms);
    // Handles the window's next message within ms; Stopped for a press, a
    // key or a close.
    Outcome Listen(uint32_t ms);

    Window& window_;
    Clock& clock_;
    DemoProcess& process_;
    Surface picture_{kDisplayWidth, kDisplayHeight};
    bool shown_ = false;
    std::string problem_;
};

}  // namespace pw
