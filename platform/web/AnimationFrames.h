#pragma once
// The browser's animation frames, asked for only while the game has
// something to do: an idle page asks for none and costs nothing.
#include <functional>

namespace pw {

class AnimationFrames {
public:
    // frame runs once in each animation frame that was asked for and answers
    // whether it wants the next one.
    explicit AnimationFrames(std::function<bool()> frame) : frame_(std::move(frame)) {}
    ~AnimationFrames();
    AnimationFrames(const AnimationFrames&) = delete;
    AnimationFrames& operator=(const AnimationFrames&) = delete;

    // Asks for the next frame, unless one is already asked for.
    void Request();

private:
    static int OnFrame(double time, void* self);

    std::function<bool()> frame_;
    long pending_ = 0;  // the browser's id of the frame asked for, or 0
};

}  // namespace pw
