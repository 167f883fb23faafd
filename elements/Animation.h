#pragma once
// Shows one frame at a time of a horizontal frame strip, stepped by the
// screen's tick at a fixed rate.
#include <memory>

#include "elements/AnimationListener.h"
#include "elements/Image.h"

namespace pw {

class Animation : public Image {
public:
    // frameCount and framesPerSecond are at least 1.
    Animation(Screen* screen, int32_t bitmapId, int32_t frameCount, int32_t framesPerSecond);
    ~Animation() override;
    void Tick(uint32_t now) override;
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override;
    int32_t SurfaceLeft() const override { return currentFrame * (box.right - box.left) - box.left; }
    int32_t SurfaceTop() const override { return -box.top; }
    Rect PictureBox() const override { return box; }
    int32_t GetWidth() const override { return frameWidth; }

    // Begins or restarts stepping from the frame shown.
    void Start();
    // Shows a frame, clamped to the strip; tells no listener.
    void SetFrame(int32_t index);
    void AddAnimationListener(AnimationListener* listener);
    bool RemoveAnimationListener(AnimationListener* listener);

    int32_t frameCount;
    int32_t framesPerSecond;
    int32_t currentFrame = 0;
    int32_t frameWidth = 0;
    bool autoShowHide = true;
    uint32_t lastFrameTime = 0;
    PointerList<AnimationListener> animationListeners;
    // Runs of the strip before it stops; 0 or less runs for ever.
    int32_t loopCount = 1;
    int32_t loopsDone = 0;

private:
    void TrimStrip();
    // The strip keeps only the part of each frame where any frame shows
    // something, side by side: most of a frame is see-through.
    Rect box{0, 0, 0, 0};
};

}  // namespace pw
