#include "app/MainLoop.h"

#include "dump/SceneDump.h"
#include "platform/VirtualClock.h"
#include "scene/Screen.h"

namespace pw {

MainLoop::MainLoop(Platform& platform)
    : sound_(platform.sound),
      platform_{platform.window, platform.resources, platform.text, sound_,
                platform.clock,  platform.registry,  platform.time},
      keys_(
          platform.window, sound_, platform.registry, [this](const WindowEvent& pen) { DeliverPen(pen); },
          [this] { return View(); }),
      status_(platform.window) {
    keys_.OnHostKey([this](Key key) { HandleMessage(WindowEvent{WindowEvent::Type::KeyDown, 0, 0, false, key}); });
    keys_.OnRefused([this](const std::string& why) {
        if (watcher_ != nullptr) watcher_->KeyRefused(why);
    });
}

GameView MainLoop::View() { return Application::ViewOf(app_.get(), platform_.registry); }

void MainLoop::Start(std::optional<uint32_t> seed) {
    sound_.Load(platform_.registry);
    app_ = std::make_unique<Application>(platform_, seed);
    seed_ = app_->seed;
    // Showing and updating the window delivers its first paint.
    HandleMessage(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void MainLoop::Restart(uint32_t seed) {
    quitPosted_ = false;
    if (!app_) app_ = std::move(closed_);
    if (!app_) return Start(seed);
    sound_.Load(platform_.registry);
    app_->Restart(seed);
    seed_ = app_->seed;
    HandleMessage(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
}

void MainLoop::PutAway() {
    if (app_) app_->PutAway();
    if (closed_) closed_->PutAway();
}

void MainLoop::HandleMessage(const WindowEvent& m) {
    switch (m.type) {
        case WindowEvent::Type::Paint:
            if (app_ && app_->current->active) app_->current->Paint(platform_.window, true);
            break;
        case WindowEvent::Type::Destroy:
            if (quitPosted_) break;
            quitPosted_ = true;
            if (recorder_ != nullptr)
                recorder_->Record(ReplayEvent{platform_.clock.Now(), ReplayEvent::Type::End, 0, 0});
            if (beforeClose_ && app_) beforeClose_();
            if (keepLastDump_ && app_) lastDump_ = DumpScene(View());
            if (keepClosed_)
                closed_ = std::move(app_);
            else
                app_.reset();
            break;
        case WindowEvent::Type::PenDown:
        case WindowEvent::Type::PenMove:
        case WindowEvent::Type::PenUp:
            if (!app_ || !keys_.OnPointer(m)) DeliverPen(m);
            break;
        case WindowEvent::Type::KeyDown:
            if (m.key == Key::F1) {
                if (help_) help_();
            } else if (m.key == Key::B) {
                if (watcher_ != nullptr) watcher_->WholeAsked();
            } else if (m.key == Key::P) {
                if (progressAsked_) progressAsked_();
            } else if (app_) {
                keys_.OnKey(m);
            }
            break;
    }
    keys_.Follow();
    ShowWatcher();
}

void MainLoop::Watch(SceneWatcher* watcher) {
    watcher_ = watcher;
    ShowWatcher();
}

void MainLoop::ShowWatcher() {
    // Before the start there is nothing to see; after the close, that it ended.
    if ((watcher_ == nullptr && !status_.On()) || (!app_ && !quitPosted_)) return;
    const GameView view = View();
    if (watcher_ != nullptr) watcher_->Look(view, keys_.Ringed());
    status_.Show(view, !sound_.Muted());
}

void MainLoop::DeliverPen(const WindowEvent& m) {
    // Only a drag with exactly the primary button held moves anything.
    if (!app_ || (m.type == WindowEvent::Type::PenMove && !m.primaryOnly)) return;
    const ReplayEvent::Type type = m.type == WindowEvent::Type::PenDown   ? ReplayEvent::Type::Down
                                   : m.type == WindowEvent::Type::PenMove ? ReplayEvent::Type::Move
                                                                          : ReplayEvent::Type::Up;
    if (recorder_ != nullptr) recorder_->Record(ReplayEvent{platform_.clock.Now(), type, m.x, m.y});
    if (watcher_ != nullptr) watcher_->Pen(m);
    Screen* screen = app_->current;
    if (type == ReplayEvent::Type::Down)
        screen->OnPenDown(m.x, m.y);
    else if (type == ReplayEvent::Type::Move)
        screen->OnPenMove(m.x, m.y);
    else
        screen->OnPenUp(m.x, m.y);
}

void MainLoop::TickCurrent() {
    if (!app_) return;
    // A tick changes what a player sees only when an animation ends (a
    // level's flash, after which the keypad shows or the next puzzle comes).
    const Screen* screen = app_->current;
    const int32_t ticking = screen->tickers.count;
    app_->current->Tick(platform_.clock.Now());
    keys_.Follow();
    if (app_->current != screen || app_->current->tickers.count != ticking) ShowWatcher();
}

bool MainLoop::HasPendingWork() const {
    return app_ && (app_->current->tickers.count > 0 || app_->current->IsDirty());
}

int MainLoop::RunLive(ReplayRecorder* recorder) {
    recorder_ = recorder;
    keys_.AcceptTaps();
    for (;;) {
        if (quitPosted_) break;
        WindowEvent message;
        bool have = platform_.window.PollEvent(message);
        if (!have) {
            // Nothing else waits: what the last press, release or key changed
            // is shown before the loop sleeps.
            PresentAnswer();
            have = platform_.window.WaitEvent(message, HasPendingWork() ? kBusyWaitMs : kIdleWaitMs);
        }
        if (have) {
            HandleMessage(message);
            answered_ = answered_ || message.type == WindowEvent::Type::PenDown ||
                        message.type == WindowEvent::Type::PenUp ||
                        message.type == WindowEvent::Type::KeyDown;
        }
        TickCurrent();
    }
    recorder_ = nullptr;
    return 0;
}

void MainLoop::PresentAnswer() {
    // A press, a release or a key changes the picture the player is looking
    // at (a box ticked, a weight dropped): that is shown as soon as no other
    // message waits, not at the next timed repaint up to 43 ms later. Only
    // what is shown moves earlier; the screen's repaint throttle and every
    // game timing stay as they are, a drag's moves keep the throttle's pace,
    // and a flood of presses is worked off before anything is shown.
    if (answered_ && app_ && app_->current->IsDirty()) app_->current->Refresh(false);
    answered_ = false;
}

bool MainLoop::PollReplayMessage(WindowEvent& message) {
    while (platform_.window.PollEvent(message))
        if (message.type == WindowEvent::Type::Paint || message.type == WindowEvent::Type::Destroy)
            return true;
    return false;
}

uint32_t MainLoop::NextReplayPass(uint32_t now, bool messageWaiting, uint32_t nextEventAt) const {
    if (messageWaiting || !app_ || app_->current->tickers.count > 0) return now + 1;
    // The tick at now has just checked the throttle, so its next check is
    // 1 to kRepaintInterval milliseconds away.
    const uint32_t sinceCheck = now - app_->current->lastRefresh;
    const uint32_t toCheck =
        sinceCheck < Screen::kRepaintInterval ? Screen::kRepaintInterval - sinceCheck : 1;
    const uint32_t toEvent = nextEventAt > now ? nextEventAt - now : 1;
    return now + (toEvent < toCheck ? toEvent : toCheck);
}

void MainLoop::HandleQueuedAtEnd(std::optional<WindowEvent> waiting) {
    // Bounded, in case handling a message keeps queuing more.
    WindowEvent message;
    for (int handled = 0; handled < 64 && !quitPosted_; ++handled) {
        if (waiting) {
            message = *waiting;
            waiting.reset();
        } else if (!PollReplayMessage(message)) {
            return;
        }
        HandleMessage(message);
    }
}

bool MainLoop::RunWaitingPasses() {
    bool handled = true;
    while (handled && !quitPosted_) {
        WindowEvent message;
        handled = platform_.window.PollEvent(message);
        if (handled) HandleMessage(message);
        TickCurrent();
    }
    return HasPendingWork();
}

int MainLoop::RunReplay(const Replay& replay, VirtualClock& clock) {
    ReplayEventList events(replay.events);
    return RunReplay(events, clock);
}

MainLoop::ReplayPlayed MainLoop::PlayReplayPass(const ReplayEvent* due, std::optional<WindowEvent>& waiting) {
    WindowEvent message;
    ReplayPlayed played = ReplayPlayed::Nothing;
    if (waiting) {
        message = *waiting;
        waiting.reset();
        played = ReplayPlayed::Message;
    } else if (PollReplayMessage(message)) {
        played = ReplayPlayed::Message;
    } else if (due != nullptr && due->type != ReplayEvent::Type::End && due->at <= platform_.clock.Now()) {
        message.x = due->x;
        message.y = due->y;
        message.primaryOnly = true;
        message.type = due->type == ReplayEvent::Type::Down   ? WindowEvent::Type::PenDown
                       : due->type == ReplayEvent::Type::Move ? WindowEvent::Type::PenMove
                                                              : WindowEvent::Type::PenUp;
        played = ReplayPlayed::Due;
    }
    if (played != ReplayPlayed::Nothing) HandleMessage(message);
    TickCurrent();
    WindowEvent next;
    if (PollReplayMessage(next)) waiting = next;
    return played;
}

int MainLoop::RunReplay(ReplayEvents& events, VirtualClock& clock) {
    ReplayEvent due;
    if (!events.Next(due)) return 1;
    clock.now = due.at - 1;
    // A message already taken from the window, to be handled on the next pass.
    std::optional<WindowEvent> waiting;
    for (;;) {
        if (quitPosted_) return 0;
        if (stopRequested_ && stopRequested_()) return 1;
        const ReplayPlayed played = PlayReplayPass(&due, waiting);
        if (played == ReplayPlayed::Due && !events.Next(due)) return 1;
        if (ReplayEndReached(due, clock.now)) break;
        clock.now = NextReplayPass(clock.now, played != ReplayPlayed::Nothing || waiting, due.at);
    }
    HandleQueuedAtEnd(waiting);
    return 0;
}

std::string MainLoop::Dump() {
    if (app_ == nullptr && !lastDump_.empty()) return lastDump_;
    return DumpScene(View());
}

}  // namespace pw
