#pragma once
// The game's six sound effects, each in the sample format the game ships it in.
#include <utility>
#include <vector>

#include "WavEncoder.h"

namespace pw::tool {

struct NumberedSound {
    int id;
    PcmSound sound;
};

std::vector<NumberedSound> MakeSounds();

}  // namespace pw::tool
