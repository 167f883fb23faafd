#pragma once
// The current screen's state as one JSON object, for tests and replays.
#include <string>

namespace pw {

struct GameView;

// The view's screen, stored values and elements; nothing else of the view.
std::string DumpScene(const GameView& state);

}  // namespace pw
