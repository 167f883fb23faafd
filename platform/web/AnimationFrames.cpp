#include "platform/web/AnimationFrames.h"

#include <emscripten/html5.h>

namespace pw {

AnimationFrames::~AnimationFrames() {
    if (pending_ != 0) emscripten_cancel_animation_frame(pending_);
}

void AnimationFrames::Request() {
    if (pending_ == 0) pending_ = emscripten_request_animation_frame(&AnimationFrames::OnFrame, this);
}

int AnimationFrames::OnFrame(double, void* self) {
    auto* frames = static_cast<AnimationFrames*>(self);
    frames->pending_ = 0;
    if (frames->frame_()) frames->Request();
    return EM_FALSE;
}

}  // namespace pw
