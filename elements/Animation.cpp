#include "elements/Animation.h"

#include <algorithm>
#include <vector>

#include "scene/Screen.h"

namespace pw {

Animation::Animation(Screen* screen_, int32_t bitmapId_, int32_t frameCount_, int32_t framesPerSecond_)
    : Image(screen_, bitmapId_),
      frameCount(frameCount_ < 1 ? 1 : frameCount_),
      framesPerSecond(framesPerSecond_ < 1 ? 1 : framesPerSecond_) {
    frameWidth = width / frameCount;
    TrimStrip();
    SetVisible(false);
}

void Animation::TrimStrip() {
    // The smallest box, in a frame's coordinates, that holds every pixel of
    // every frame that is not the key colour.
    int32_t left = frameWidth, top = height, right = 0, bottom = 0;
    for (int32_t row = 0; row < height; ++row) {
        const Pixel* pixels = bitmap->Row(row);
        for (int32_t column = 0; column < frameWidth * frameCount; ++column) {
            if (pixels[column] == KeyColour) continue;
            const int32_t inFrame = column % frameWidth;
            left = std::min(left, inFrame);
            right = std::max(right, inFrame + 1);
            top = std::min(top, row);
            bottom = std::max(bottom, row + 1);
        }
    }
    if (left >= right) {
        box = Rect{0, 0, 0, 0};
        bitmap = std::make_unique<Surface>(0, 0);
        return;
    }
    box = Rect{left, top, right, bottom};
    const int32_t w = right - left, h = bottom - top;
    auto trimmed = std::make_unique<Surface>(w * frameCount, h);
    for (int32_t f = 0; f < frameCount; ++f) CopyOpaque(*trimmed, f * w, 0, w, h, *bitmap, f * frameWidth + left, top);
    bitmap = std::move(trimmed);
}

Animation::~Animation() { animationListeners.Clear(); }

const char16_t* Animation::GetKindName() const { return u"Animation"; }

const Surface* Animation::GetSurface() { return bitmap.get(); }

void Animation::Start() {
    screen->tickers.AddUnique(this);
    if (autoShowHide) SetVisible(true);
    lastFrameTime = GetPlatform().clock.Now();
    std::vector<AnimationListener*> snapshot(static_cast<size_t>(animationListeners.count));
    animationListeners.CopyToArray(snapshot.data());
    for (AnimationListener* listener : snapshot) {
        listener->OnAnimationStarted(this);
        listener->OnAnimationFrame(this, currentFrame);
    }
}

void Animation::Tick(uint32_t now) {
    const uint32_t interval = static_cast<uint32_t>(1000 / framesPerSecond);
    // A frame advances only when strictly more than the interval has passed.
    if (static_cast<uint32_t>(now - lastFrameTime) <= interval) return;
    lastFrameTime = now;
    ++currentFrame;
    if (currentFrame >= frameCount) {
        currentFrame = 0;
        if (loopCount > 0) {
            ++loopsDone;
            if (loopsDone >= loopCount) {
                loopsDone = 0;
                screen->tickers.Remove(this);
                if (autoShowHide) SetVisible(false);
            }
        }
    }
    Invalidate();
    std::vector<AnimationListener*> snapshot(static_cast<size_t>(animationListeners.count));
    animationListeners.CopyToArray(snapshot.data());
    const int32_t shown = currentFrame;
    const bool ended = shown == 0 && loopsDone == 0;
    for (AnimationListener* listener : snapshot) {
        if (shown != 0)
            listener->OnAnimationFrame(this, shown);
        else if (ended)
            listener->OnAnimationEnded(this, 0);
    }
}

void Animation::SetFrame(int32_t index) {
    if (index < 0) index = 0;
    if (index >= frameCount) index = frameCount - 1;
    currentFrame = index;
    Invalidate();
}

void Animation::AddAnimationListener(AnimationListener* listener) { animationListeners.AddUnique(listener); }

bool Animation::RemoveAnimationListener(AnimationListener* listener) {
    return animationListeners.Remove(listener);
}

}  // namespace pw
