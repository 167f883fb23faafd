#pragma once
// The game's keys by the names keyboards give them (the browser's
// KeyboardEvent.code), and which keys repeat while held.
#include <string>

#include "platform/Platform.h"

namespace pw {

// Key::None for a key the game does not answer. The digit row and the
// numeric keypad give the same digits; both Enter keys give Enter.
Key KeyFromCode(const std::string& code);

// Only moving on again makes sense while a key is held: the arrows and Tab.
bool KeyRepeats(Key key);

}  // namespace pw
