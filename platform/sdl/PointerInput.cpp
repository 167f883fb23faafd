#include "platform/sdl/PointerInput.h"

namespace pw {

bool PointerInput::Press(const WindowLayout& layout, int windowX, int windowY, WindowEvent& out) {
    if (!layout.InPicture(windowX, windowY)) {
        press_ = Start::Outside;
        return false;
    }
    press_ = Start::Inside;
    out = WindowEvent{WindowEvent::Type::PenDown, 0, 0, true};
    layout.ToDisplay(windowX, windowY, out.x, out.y);
    return true;
}

bool PointerInput::Move(const WindowLayout& layout, int windowX, int windowY, bool onlyPrimaryButton,
                        bool shiftOrCtrl, WindowEvent& out) {
    if (press_ == Start::Outside) return false;
    out = WindowEvent{WindowEvent::Type::PenMove, 0, 0, onlyPrimaryButton && !shiftOrCtrl};
    layout.ToDisplay(windowX, windowY, out.x, out.y);
    return true;
}

bool PointerInput::Release(const WindowLayout& layout, int windowX, int windowY, WindowEvent& out) {
    const bool outside = press_ == Start::Outside;
    press_ = Start::None;
    if (outside) return false;
    out = WindowEvent{WindowEvent::Type::PenUp, 0, 0, false};
    layout.ToDisplay(windowX, windowY, out.x, out.y);
    return true;
}

}  // namespace pw
