#pragma once
// Runs the game headless exactly as a replay of the main loop would, pass by
// pass on a virtual clock, while the events are still being decided: whenever
// the game waits for the player with no event queued, a planner is asked for
// the next ones. The events queued so far therefore form a replay that plays
// back to the very same state.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/MainLoop.h"
#include "replay/Replay.h"
#include "platform/headless/HeadlessPlatform.h"

namespace pw {

class GameScreen;

class ReplayPassRunner {
public:
    // Queues what the player does next (at least one event, later than Now()).
    using Planner = std::function<void(ReplayPassRunner&)>;

    // Settings are read from and written to configRoot, which should be empty
    // so that the run starts as a first game does. Without keepHistory the
    // events are forgotten once delivered, so that a long run's memory is the
    // game's own (Events and ReplayText then hold nothing). With a level, the
    // run starts there with automatic levelling off, and its replay says so.
    ReplayPassRunner(const std::string& configRoot, uint32_t seed, bool keepHistory = true,
                     std::optional<int32_t> level = std::nullopt);
    ~ReplayPassRunner();
    ReplayPassRunner(const ReplayPassRunner&) = delete;
    ReplayPassRunner& operator=(const ReplayPassRunner&) = delete;

    // Plays until the queued end; false (with a message) when the planner
    // broke the rules or the game closed.
    bool Run(const Planner& planner, std::string& error);

    // Events must come in time order, after the current pass; an end event
    // finishes the run once its time is reached.
    void Queue(const ReplayEvent& event);

    uint32_t Now() const { return platform_.clock.now; }
    uint32_t Seed() const { return seed_; }
    Application* App() { return loop_.App(); }
    GameScreen* Game();
    GameView View() { return loop_.View(); }
    bool OnTitle();
    // Every event queued so far, when the history is kept.
    const std::vector<ReplayEvent>& Events() const { return history_; }
    size_t EventCount() const { return eventCount_; }
    // The replay text of every event queued.
    std::string ReplayText() const;

private:
    bool AskPlanner(const Planner& planner, std::string& error);

    HeadlessPlatform platform_;
    MainLoop loop_;
    uint32_t seed_;
    ReplayHeader start_;
    const bool keepHistory_;
    std::vector<ReplayEvent> history_;
    // Queued and not yet delivered; the front is the next one due.
    std::deque<ReplayEvent> pending_;
    std::optional<ReplayEvent> lastQueued_;
    size_t eventCount_ = 0;
    bool queueRejected_ = false;
};

}  // namespace pw
