#include "howtoplay/DemoGame.h"

#include <algorithm>

#include "replay/ReplaySettings.h"

namespace pw {

namespace {

bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

DemoGame::DemoGame(const Makers& makers, Resources& resources, TextRenderer& text, SystemTime& time)
    : window_(makers.window([this](const Rect& area) { Presented(area); })),
      platform_{*window_, resources, text, sound_, clock_, registry_, time},
      loop_(makers.loop(platform_)) {}

bool DemoGame::Start(const Replay& recording, std::string& error) {
    recording_ = recording;
    next_ = 0;
    waiting_.reset();
    if (!StoreReplayStart(registry_, recording_)) {
        error = "How to play cannot keep its game's settings";
        return false;
    }
    // As a replay starts: the first paint at 0, the first pass just before
    // the first event.
    loop_->Start(recording_.SeedOrDefault());
    ended_ = recording_.events.empty();
    if (!ended_) clock_.now = recording_.events.front().at - 1;
    return true;
}

void DemoGame::PlayUntil(uint32_t until) {
    const std::vector<ReplayEvent>& events = recording_.events;
    // The passes the main loop's RunReplay makes, taken in turns.
    while (!ended_ && clock_.now <= until) {
        if (loop_->QuitPosted() || next_ >= events.size()) {
            ended_ = true;
            break;
        }
        const ReplayPasses::ReplayPlayed played = loop_->PlayReplayPass(&events[next_], waiting_);
        if (played == ReplayPasses::ReplayPlayed::Due && ++next_ >= events.size()) {
            ended_ = true;
            break;
        }
        if (ReplayPasses::ReplayEndReached(events[next_], clock_.now)) {
            loop_->HandleQueuedAtEnd(waiting_);
            waiting_.reset();
            ended_ = true;
            break;
        }
        const bool busy = played != ReplayPasses::ReplayPlayed::Nothing || waiting_.has_value();
        clock_.now = loop_->NextReplayPass(clock_.now, busy, events[next_].at);
    }
}

void DemoGame::Presented(const Rect& area) {
    const Surface& picture = window_->Shown();
    const Rect clipped{std::max(0, area.left), std::max(0, area.top), std::min(picture.Width(), area.right),
                       std::min(picture.Height(), area.bottom)};
    if (Empty(clipped)) return;
    changed_ = Empty(changed_) ? clipped : Union(changed_, clipped);
}

Rect DemoGame::TakeChanged() {
    const Rect changed = changed_;
    changed_ = Rect{};
    return changed;
}

}  // namespace pw
