#pragma once
// Tells the window's bar where the player is, from the game's view: the
// level as the game last stored it ("Level 6"), or the set and its level
// ("Set 4711 · level 6"), and whether sound is on. Only what changed is
// passed on.
#include <optional>
#include <string>

#include "game/GameView.h"
#include "platform/Platform.h"

namespace pw {

class StatusFeed {
public:
    explicit StatusFeed(Window& window) : window_(window) {}

    // From now on the bar is fed; set names the puzzle set played (its
    // seed), or none for the normal game.
    void Start(std::optional<uint32_t> set) {
        on_ = true;
        set_ = set;
    }
    bool On() const { return on_; }
    void Show(const GameView& view, bool soundOn);
    static std::string Place(const GameView& view, std::optional<uint32_t> set);

private:
    Window& window_;
    bool on_ = false;
    std::optional<uint32_t> set_;
    std::string place_;
    std::optional<bool> soundOn_;
};

}  // namespace pw
