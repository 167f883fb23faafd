#pragma once
// What one game owns besides its screens: where its settings store lives and
// the random generator its puzzles are drawn from. Each game in the process
// has its own, so games played side by side (the player's, How to play's, a
// replay's) deal and score exactly as each would alone.
#include <cstdint>

#include "platform/GlibcRandom.h"
#include "settings/SettingsContext.h"

namespace pw {

struct GameContext {
    GameContext(Registry& registry, uint32_t seed) : settings(registry), random(seed) {}

    SettingsContext settings;
    // The C library's rand() sequence, drawn in the builders' order.
    GlibcRandom random;
};

}  // namespace pw
