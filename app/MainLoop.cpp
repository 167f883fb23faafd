#include "app/MainLoop.h"

#include "platform/headless/HeadlessServices.h"
#include "scene/Screen.h"

namespace pw {

MainLoop::MainLoop(Platform& platform)
    : sound_(platform.sound),
      platform_{platform.window, platform.resources, platform.text, sound_,
                platform.clock,  platform.registry,  platform.time},
      keys_(platform.window, sound_, platform.registry, [this](const WindowEvent& pen) { DeliverPen(pen); }) {
}

void MainLoop::Start(std::optional<uint32_t> seed) {
    sound_.Load(platform_.registry);
    app_ = std::make_unique<Application>(platform_, seed);
    seed_ = app_->seed;
    // Showing and updating the window delivers its first paint.
    HandleMessage(WindowEvent{WindowEvent::Type::Paint, 0, 0, false});
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
            app_.reset();
            break;
        case WindowEvent::Type::PenDown:
        case WindowEvent::Type::PenMove:
        case WindowEvent::Type::PenUp:
            if (app_) keys_.OnPointer(*app_, m);
            DeliverPen(m);
            break;
        case WindowEvent::Type::KeyDown:
            if (app_) keys_.OnKey(*app_, m);
            break;
    }
    keys_.Follow(app_.get());
}

void MainLoop::DeliverPen(const WindowEvent& m) {
    // Only a drag with exactly the primary button held moves anything.
    if (!app_ || (m.type == WindowEvent::Type::PenMove && !m.primaryOnly)) return;
    const ReplayEvent::Type type = m.type == WindowEvent::Type::PenDown   ? ReplayEvent::Type::Down
                                   : m.type == WindowEvent::Type::PenMove ? ReplayEvent::Type::Move
                                                                          : ReplayEvent::Type::Up;
    if (recorder_ != nullptr) recorder_->Record(ReplayEvent{platform_.clock.Now(), type, m.x, m.y});
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
    app_->current->Tick(platform_.clock.Now());
    keys_.Follow(app_.get());
}

bool MainLoop::HasPendingWork() const {
    return app_ && (app_->current->tickers.count > 0 || app_->current->IsDirty());
}

int MainLoop::RunLive(ReplayRecorder* recorder) {
    recorder_ = recorder;
    for (;;) {
        if (quitPosted_) break;
        WindowEvent message;
        bool have = platform_.window.PollEvent(message);
        if (!have) have = platform_.window.WaitEvent(message, HasPendingWork() ? kBusyWaitMs : kIdleWaitMs);
        if (have) HandleMessage(message);
        TickCurrent();
    }
    recorder_ = nullptr;
    return 0;
}

int MainLoop::RunReplay(const Replay& replay, VirtualClock& clock) {
    if (replay.events.empty()) return 0;
    clock.now = replay.events.front().at - 1;
    size_t next = 0;
    for (;;) {
        if (quitPosted_) break;
        WindowEvent message;
        bool have = platform_.window.PollEvent(message);
        // Pen events from a real window do not take part in a replay.
        if (have && message.type != WindowEvent::Type::Paint && message.type != WindowEvent::Type::Destroy)
            have = false;
        const ReplayEvent& due = replay.events[next];
        if (!have && due.type != ReplayEvent::Type::End && due.at <= clock.now) {
            message.x = due.x;
            message.y = due.y;
            message.primaryOnly = true;
            if (due.type == ReplayEvent::Type::Down) {
                message.type = WindowEvent::Type::PenDown;
            } else if (due.type == ReplayEvent::Type::Move) {
                message.type = WindowEvent::Type::PenMove;
            } else {
                message.type = WindowEvent::Type::PenUp;
            }
            have = true;
            ++next;
        }
        if (have) HandleMessage(message);
        TickCurrent();
        const ReplayEvent& upcoming = replay.events[next];
        if (upcoming.type == ReplayEvent::Type::End && clock.now >= upcoming.at) break;
        // Nothing animates, nothing waits to be shown and no message waits:
        // passes until the next event would do nothing, so skip them.
        const bool idle = !have && !HasPendingWork() && upcoming.at > clock.now + 1;
        clock.now = idle ? upcoming.at - 1 : clock.now + 1;
    }
    return 0;
}

}  // namespace pw
