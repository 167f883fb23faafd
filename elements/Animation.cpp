#include "elements/Animation.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "scene/Screen.h"

namespace pw {

Animation::Animation(Screen* screen_, int32_t bitmapId_, int32_t frameCount_, int32_t framesPerSecond_)
    : Image(screen_, bitmapId_),
      frameCount(frameCount_ < 1 ? 1 : frameCount_),
      framesPerSecond(framesPerSecond_ < 1 ? 1 : framesPerSecond_) {
    frameWidth = width / frameCount;
    TakeRuns();
    SetVisible(false);
}

void Animation::TakeRuns() {
    const Surface& strip = Picture();
    int32_t left = frameWidth, top = height, right = 0, bottom = 0;
    for (int32_t row = 0; row < height; ++row) {
        const Pixel* line = strip.Row(row);
        for (int32_t column = 0; column < frameWidth * frameCount; ++column) {
            if (line[column] == KeyColour) continue;
            const int32_t inFrame = column % frameWidth;
            left = std::min(left, inFrame);
            right = std::max(right, inFrame + 1);
            top = std::min(top, row);
            bottom = std::max(bottom, row + 1);
        }
    }
    if (left < right) box = Rect{left, top, right, bottom};
    for (int32_t f = 0; f < frameCount; ++f)
        for (int32_t row = box.top; row < box.bottom; ++row) {
            rowRuns.push_back(runs.size());
            const Pixel* line = strip.Row(row) + f * frameWidth;
            for (int32_t column = box.left; column < box.right;) {
                if (line[column] == KeyColour) {
                    ++column;
                    continue;
                }
                const int32_t start = column;
                while (column < box.right && line[column] != KeyColour) ++column;
                runs.push_back(Run{start - box.left, column - start, pixels.size()});
                pixels.insert(pixels.end(), line + start, line + column);
            }
        }
    rowRuns.push_back(runs.size());
    bitmap.reset();  // the strip itself is not needed any more
}

void Animation::DrawFrame(Surface& target, int32_t targetX, int32_t targetY, const Rect& part) const {
    // part is in the box's coordinates; (targetX, targetY) is where its
    // top-left corner goes.
    const int32_t rows = box.bottom - box.top;
    for (int32_t row = part.top; row < part.bottom; ++row) {
        Pixel* out = target.Row(targetY + row - part.top) + targetX;
        const size_t index = static_cast<size_t>(currentFrame) * static_cast<size_t>(rows) + static_cast<size_t>(row);
        for (size_t r = rowRuns[index]; r < rowRuns[index + 1]; ++r) {
            const Run& run = runs[r];
            const int32_t from = std::max(run.left, part.left);
            const int32_t to = std::min(run.left + run.length, part.right);
            if (from < to)
                std::memcpy(out + (from - part.left), pixels.data() + run.first + (from - run.left),
                            static_cast<size_t>(to - from) * sizeof(Pixel));
        }
    }
}

void Animation::ComposeOnto(Surface& target, const Rect& area, bool opaque) {
    // Under everything (never so in the game), the frame's see-through
    // pixels are copied too, as for any picture.
    if (opaque) return Figure::ComposeOnto(target, area, opaque);
    // Where the picture, the area and the target meet.
    const Rect part = PictureIn(Rect{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, target.Width()),
                                     std::min(area.bottom, target.Height())});
    if (part.left >= part.right || part.top >= part.bottom) return;
    // The same, in the box's coordinates (in 64 bits until it is known to
    // lie inside the box).
    const int64_t x = int64_t(GetX()) + box.left, y = int64_t(GetY()) + box.top;
    DrawFrame(target, part.left, part.top,
              Rect{int32_t(part.left - x), int32_t(part.top - y), int32_t(part.right - x), int32_t(part.bottom - y)});
}

Animation::~Animation() { animationListeners.Clear(); }

const char16_t* Animation::GetKindName() const { return u"Animation"; }

const Surface* Animation::GetSurface() {
    if (frameInSurface != currentFrame) {
        frame = std::make_unique<Surface>(box.right - box.left, box.bottom - box.top);
        frame->Fill(0, 0, frame->Width(), frame->Height(), KeyColour);
        DrawFrame(*frame, 0, 0, Rect{0, 0, frame->Width(), frame->Height()});
        frameInSurface = currentFrame;
    }
    return frame.get();
}

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
