#include "app/StatusFeed.h"

namespace pw {

std::string StatusFeed::Place(const GameView& view, std::optional<uint32_t> set) {
    const std::string level = std::to_string(view.level);
    return set ? "Set " + std::to_string(*set) + " \u00B7 level " + level : "Level " + level;
}

void StatusFeed::Show(const GameView& view, bool soundOn) {
    if (!on_) return;
    std::string place = Place(view, set_);
    if (place == place_ && soundOn_ == soundOn) return;
    place_ = std::move(place);
    soundOn_ = soundOn;
    window_.ShowStatus(place_, soundOn);
}

}  // namespace pw
