// Arbitrary stylus input on the running game (see PenEventsGame.h): one game
// for the whole run, started over for each input and put away after it.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/PenEventsGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < pw::fuzz::PenEventsGame::kHeaderBytes) return 0;
    static pw::fuzz::PenEventsGame game;
    game.StartOver(pw::fuzz::PenEventsGame::SeedOf(data));
    game.Play(data, size);
    game.PutAway();
    return 0;
}
