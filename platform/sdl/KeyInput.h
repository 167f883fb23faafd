#pragma once
// Key presses from SDL turned into the game's keys. The digit row and the
// numeric keypad (with or without Num Lock) both type digits; letters follow
// the keyboard's layout. A key held with Ctrl, Alt or the system key belongs
// to the desktop, not to the game, and a held key repeats only where moving
// on again makes sense (the arrows and Tab).
#include <cstdint>

#include "platform/Platform.h"

namespace pw {

class KeyInput {
public:
    // True with the message to deliver; false for a key the game ignores.
    static bool Translate(int32_t keycode, int32_t scancode, uint16_t modifiers, bool repeat,
                          WindowEvent& out);
};

}  // namespace pw
