#pragma once
// The start picture with the version text and notice line; a press anywhere
// tells the listeners that the player wants to play.
#include "elements/AnimationListener.h"
#include "scene/ElementListener.h"
#include "scene/Screen.h"

namespace pw {

class TitleScreen : public Screen, public ElementListener, public AnimationListener {
public:
    // Yellow, red 255, green 255, blue 0.
    static constexpr Pixel kTextColour = Rgb(255, 255, 0);

    TitleScreen(Platform& platform, ScreenListener* owner);
    ~TitleScreen() override;

    void OnElementPressed(Figure* element, int32_t x, int32_t y) override;
    void OnElementReleased(Figure* element, int32_t x, int32_t y) override;
    void OnAnimationStarted(Animation* animation) override;
    void OnAnimationEnded(Animation* animation, int32_t frame) override;
    void OnAnimationFrame(Animation* animation, int32_t frame) override;

    PointerList<ScreenListener> listeners;

private:
    void AddLine(int stringId, int32_t x, int32_t y);
};

}  // namespace pw
