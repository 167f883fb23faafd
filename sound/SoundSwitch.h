#pragma once
// The player's sound switch: passes the game's sounds on to the machine's
// player unless the player has muted them. The choice is kept beside the
// game's own settings as the value "sound" ("0" muted, "1" on); files written
// before the switch existed lack it, and they play sound.
#include <string>

#include "platform/Platform.h"

namespace pw {

class SoundSwitch : public SoundPlayer {
public:
    static constexpr const char* kValueName = "sound";

    explicit SoundSwitch(SoundPlayer& player) : player_(player) {}

    void Play(const SoundData* sound) override;

    // Takes the stored choice; anything but a stored "0" means sound on.
    void Load(Registry& registry);
    // Flips the choice and stores it. A failed write keeps the new choice for
    // this run.
    void Toggle(Registry& registry);
    bool Muted() const { return muted_; }

private:
    SoundPlayer& player_;
    bool muted_ = false;
};

}  // namespace pw
