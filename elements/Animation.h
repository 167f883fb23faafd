#pragma once
// Shows one frame at a time of a horizontal frame strip, stepped by the
// screen's tick at a fixed rate.
#include <memory>
#include <vector>

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
    // The frame shown, as a plain picture of PictureBox()'s size, made when
    // asked for: composing draws straight from the runs.
    const Surface* GetSurface() override;
    int32_t SurfaceLeft() const override { return -box.left; }
    int32_t SurfaceTop() const override { return -box.top; }
    Rect PictureBox() const override { return box; }
    void ComposeOnto(Surface& target, const Rect& area, bool opaque) override;
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
    // A stretch of one row of a frame where the picture shows, and where its
    // pixels start in `pixels`.
    struct Run {
        int32_t left;
        int32_t length;
        size_t first;
    };

    // Keeps, of each frame, only the runs of pixels that are not the key
    // colour: most of a frame is see-through.
    void TakeRuns();
    void DrawFrame(Surface& target, int32_t targetX, int32_t targetY, const Rect& part) const;

    // The smallest box, in a frame's coordinates, holding every pixel of
    // every frame that shows.
    Rect box{0, 0, 0, 0};
    std::vector<Run> runs;
    // Row r of frame f (r counted from the box's top) has the runs from
    // rowRuns[f * rows + r] up to the next entry.
    std::vector<size_t> rowRuns;
    std::vector<Pixel> pixels;
    std::unique_ptr<Surface> frame;  // made by GetSurface()
    int32_t frameInSurface = -1;
};

}  // namespace pw
