#pragma once
// The window procedure and the message loop: each pass handles at most one
// message and then ticks the current screen. Live, the loop waits for the
// next message when there is nothing to do; on replay, it runs on a virtual
// clock, one millisecond per pass, as fast as the machine allows.
#include <functional>
#include <memory>
#include <optional>

#include "app/Application.h"
#include "app/StatusFeed.h"
#include "dump/SceneWatcher.h"
#include "howtoplay/ReplayPasses.h"
#include "keys/KeyControl.h"
#include "platform/Platform.h"
#include "replay/Replay.h"
#include "replay/ReplayRecorder.h"
#include "sound/SoundSwitch.h"

namespace pw {

class VirtualClock;

class MainLoop : public ReplayPasses {
public:
    // Longest wait for a message while something animates or waits to be
    // repainted; while nothing does, a tick has nothing to do, so the loop
    // sleeps until the next message.
    static constexpr uint32_t kBusyWaitMs = 5;
    static constexpr uint32_t kIdleWaitMs = Window::kNoTimeout;

    // The game plays its sounds through the player's sound switch.
    explicit MainLoop(Platform& platform);

    // Creates the application (the window is shown afterwards, with its
    // first paint).
    void Start(std::optional<uint32_t> seed) override;
    // For a driver that plays many games in one process: a close keeps the
    // application, ended, instead of destroying it, so that Restart can bring
    // it back without building it again.
    void KeepClosedGame() { keepClosed_ = true; }
    // As Start(seed) on the application already built, open or kept through a
    // close: a new game on the same screens, the sound switch read again.
    void Restart(uint32_t seed);
    // Puts the application, open or kept through a close, away until Restart
    // (see Application::PutAway).
    void PutAway();
    // Runs until the quit message; returns the exit code.
    int RunLive(ReplayRecorder* recorder);
    // Plays a replay on clock (the platform's clock) and returns the exit
    // code: 0, or 1 when the events stopped before their end.
    int RunReplay(ReplayEvents& events, VirtualClock& clock);
    int RunReplay(const Replay& replay, VirtualClock& clock);
    // One turn of a loop that another owns (the browser's, once per animation
    // frame): passes while messages wait, at least one. Answers whether the
    // current screen still has something to animate or to repaint.
    bool RunWaitingPasses();
    // The player's own pointer comes through HandleMessage from now on (the
    // browser's game): taps that move weights are read too. RunLive does so
    // by itself.
    void AcceptTaps() { keys_.AcceptTaps(); }
    // Called on the destroy message while the game is still whole, so that
    // its last screen can be kept.
    void SetBeforeClose(std::function<void()> beforeClose) { beforeClose_ = std::move(beforeClose); }
    // From now on the dump of the last screen is taken as a close ends the
    // game, so that Dump can still give it afterwards.
    void KeepLastDump() { keepLastDump_ = true; }
    // The current screen's state as one JSON object; once a close has ended
    // the game, its last screen's (when kept), else the stored settings.
    std::string Dump();
    // Shows the scene to watcher (null: to nobody) from now on, starting
    // with a look at it as it is; B asks it for the whole board.
    void Watch(SceneWatcher* watcher);
    // Called for F1 (How to play), which the host shows; the game never
    // sees the key.
    void SetHelp(std::function<void()> help) { help_ = std::move(help); }
    // Asked before every pass of a replay: true stops it there (a signal
    // came), and RunReplay returns 1.
    void SetStopCheck(std::function<bool()> stopRequested) { stopRequested_ = std::move(stopRequested); }
    // From now on the window's bar is told the level (or the set, named by
    // its seed, and its level) and the sound switch after every change.
    void FeedStatus(std::optional<uint32_t> set) {
        status_.Start(set);
        ShowWatcher();
    }
    // P asks the host for the progress view; the game never sees the key.
    void SetProgressAsked(std::function<void()> asked) { progressAsked_ = std::move(asked); }

    // The pieces of a replay pass, shared with tools that drive the loop
    // themselves. A replay takes from the window only paints and the destroy
    // message; a real stylus takes no part.
    bool PollReplayMessage(WindowEvent& message);
    // One replay pass at the clock's now: the message that waits (taken from
    // the window on the pass before, else one it has now) is handled, else
    // the due event once its time has come, unless it is the end; the current
    // screen ticks; then the window's next message, if any, is taken into
    // waiting for the next pass. due is null while no event is known yet.
    ReplayPlayed PlayReplayPass(const ReplayEvent* due, std::optional<WindowEvent>& waiting) override;
    // The clock of the next pass that can change anything, after the pass at
    // now: the next one when a message waits or something animates, else the
    // sooner of the next event and the repaint throttle's next check. Every
    // pass skipped would have done nothing, so a replay shows at every moment
    // what plain one-millisecond passes would.
    uint32_t NextReplayPass(uint32_t now, bool messageWaiting, uint32_t nextEventAt) const override;
    // At the end's time: the messages still queued are handled, as the live
    // game handled them before it recorded its end (a close included).
    void HandleQueuedAtEnd(std::optional<WindowEvent> waiting) override;

    // The window procedure.
    void HandleMessage(const WindowEvent& message);

    // Whether the current screen has something to animate or to repaint.
    bool HasPendingWork() const;

    Application* App() { return app_.get(); }
    // The game's view now; with no game open, the stored values alone.
    GameView View();
    bool QuitPosted() const override { return quitPosted_; }
    uint32_t Seed() const { return seed_; }

private:
    void DeliverPen(const WindowEvent& message);
    void TickCurrent();
    void ShowWatcher();
    void PresentAnswer();

    SoundSwitch sound_;
    Platform platform_;
    KeyControl keys_;
    std::unique_ptr<Application> app_;
    // The application a close ended, kept for Restart.
    std::unique_ptr<Application> closed_;
    bool keepClosed_ = false;
    bool quitPosted_ = false;
    // A press, release or key was handled and its change is not shown yet.
    bool answered_ = false;
    uint32_t seed_ = 0;
    ReplayRecorder* recorder_ = nullptr;
    std::function<void()> beforeClose_;
    bool keepLastDump_ = false;
    std::string lastDump_;
    SceneWatcher* watcher_ = nullptr;
    StatusFeed status_;
    std::function<bool()> stopRequested_;
    std::function<void()> help_;
    std::function<void()> progressAsked_;
};

}  // namespace pw
