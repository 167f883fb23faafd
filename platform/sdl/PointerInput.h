#pragma once
// Mouse, touch or pen in window pixels, turned into the stylus messages of
// the emulated display. A press that starts outside the picture (in the
// black bars) does nothing, nor do its moves and release; the moves and
// release of a press that started inside are clamped to the display. A move
// counts as a drag only with exactly the primary button held and neither
// Shift nor Ctrl, as the game's rule has it.
#include "platform/Platform.h"
#include "platform/sdl/WindowLayout.h"

namespace pw {

class PointerInput {
public:
    // Each returns true with the message to deliver, false when there is none.
    bool Press(const WindowLayout& layout, int windowX, int windowY, WindowEvent& out);
    bool Move(const WindowLayout& layout, int windowX, int windowY, bool onlyPrimaryButton, bool shiftOrCtrl,
              WindowEvent& out);
    bool Release(const WindowLayout& layout, int windowX, int windowY, WindowEvent& out);

private:
    enum class Start { None, Inside, Outside };
    Start press_ = Start::None;
};

}  // namespace pw
