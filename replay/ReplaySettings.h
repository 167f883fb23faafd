#pragma once
// The stored values a replay starts from, between its header and the
// settings: a recording notes them as the game loaded them, and a replay
// stores them in its own private settings before the game loads them.
#include <cstdint>

#include "replay/Replay.h"

namespace pw {

class Registry;
class SettingsStore;

// The header of a recording of a game that loaded settings and seed.
ReplayHeader RecordedStart(const SettingsStore& settings, uint32_t seed);

// Stores the header's values, in the settings file's own text form; values
// left out stay missing, so they load as their defaults. False when the
// settings could not be written.
bool StoreReplayStart(Registry& registry, const ReplayHeader& header);

}  // namespace pw
