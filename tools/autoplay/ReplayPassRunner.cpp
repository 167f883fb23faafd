#include "tools/autoplay/ReplayPassRunner.h"

#include "replay/ReplaySettings.h"
#include "game/GameScreen.h"
#include "scene/Screen.h"
#include "title/TitleScreen.h"

namespace pw {

ReplayPassRunner::ReplayPassRunner(const std::string& configRoot, uint32_t seed, bool keepHistory,
                                   std::optional<int32_t> level)
    : platform_(configRoot), loop_(platform_.Get()), seed_(seed), keepHistory_(keepHistory) {
    if (level) {
        start_.level = level;
        start_.autoOff = 1;
        StoreReplayStart(platform_.registry, start_);
    }
    // As on replay, the game is built while the virtual clock still reads 0.
    loop_.Start(seed);
}

ReplayPassRunner::~ReplayPassRunner() = default;

GameScreen* ReplayPassRunner::Game() { return App() != nullptr ? &App()->Game() : nullptr; }

bool ReplayPassRunner::OnTitle() {
    return App() != nullptr && App()->current == static_cast<Screen*>(App()->titleScreen.get());
}

void ReplayPassRunner::Queue(const ReplayEvent& event) {
    const bool inOrder =
        !lastQueued_ || (event.at >= lastQueued_->at && lastQueued_->type != ReplayEvent::Type::End);
    if (!inOrder || event.at <= Now()) {
        queueRejected_ = true;
        return;
    }
    pending_.push_back(event);
    lastQueued_ = event;
    ++eventCount_;
    if (keepHistory_) history_.push_back(event);
}

bool ReplayPassRunner::AskPlanner(const Planner& planner, std::string& error) {
    const size_t before = eventCount_;
    planner(*this);
    if (queueRejected_ || eventCount_ == before) {
        error = "the planner queued no event, or one out of time order, at " + std::to_string(Now());
        return false;
    }
    return true;
}

// The passes are MainLoop's replay passes, as RunReplay plays them; only where
// the replay would look at its next event and finds none queued yet is the
// planner asked first. It is asked only while the game waits with nothing to
// do, so what it sees is what the game will show when that event arrives.
bool ReplayPassRunner::Run(const Planner& planner, std::string& error) {
    VirtualClock& clock = platform_.clock;
    if (pending_.empty() && !AskPlanner(planner, error)) return false;
    clock.now = pending_.front().at - 1;
    std::optional<WindowEvent> waiting;
    for (;;) {
        if (loop_.QuitPosted()) {
            error = "the game closed before the end of the run";
            return false;
        }
        const MainLoop::ReplayPlayed played =
            loop_.PlayReplayPass(pending_.empty() ? nullptr : &pending_.front(), waiting);
        if (played == MainLoop::ReplayPlayed::Due) pending_.pop_front();
        if (!pending_.empty() && MainLoop::ReplayEndReached(pending_.front(), clock.now)) break;
        const bool busy = played != MainLoop::ReplayPlayed::Nothing || waiting;
        if (pending_.empty()) {
            // Busy passes go on as the replay's would before a far-off event;
            // the player decides only once the game waits.
            if (busy || loop_.HasPendingWork()) {
                clock.now = loop_.NextReplayPass(clock.now, busy, clock.now + Screen::kRepaintInterval);
                continue;
            }
            if (!AskPlanner(planner, error)) return false;
        }
        clock.now = loop_.NextReplayPass(clock.now, busy, pending_.front().at);
    }
    loop_.HandleQueuedAtEnd(waiting);
    return true;
}

std::string ReplayPassRunner::ReplayText() const {
    std::string text = "pivotwarden-replay 1\nseed " + std::to_string(seed_) + "\n";
    if (start_.level) text += "level " + std::to_string(*start_.level) + "\nauto 1\n";
    for (const ReplayEvent& e : history_) text += FormatReplayEvent(e) + "\n";
    return text;
}

}  // namespace pw
