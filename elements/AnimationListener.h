#pragma once
#include <cstdint>

namespace pw {

class Animation;

// How an animation reports its progress.
class AnimationListener {
public:
    virtual ~AnimationListener() = default;
    virtual void OnAnimationStarted(Animation* animation) = 0;
    // A run ended (the animation stopped), or an endless one wrapped.
    virtual void OnAnimationEnded(Animation* animation, int32_t frame) = 0;
    virtual void OnAnimationFrame(Animation* animation, int32_t frame) = 0;
};

}  // namespace pw
