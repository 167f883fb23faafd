#include "howtoplay/HowToPlay.h"

#include <algorithm>

#include "replay/Replay.h"
#include "resources/EmbeddedResources.h"

namespace pw {

std::vector<HowToPlay::Part> HowToPlay::EmbeddedParts() {
    std::vector<Part> parts;
    const char* const captions[][2] = {
        {"Drag a yellow weight onto a pan", "Make both sides weigh the same"},
        {"Make both sides weigh the same", "Type the hidden number"},
    };
    for (int id = 1; id <= 2; ++id) {
        const EmbeddedResource* recording = FindEmbedded(EmbeddedKind::Demo, id);
        if (recording == nullptr) continue;
        parts.push_back({std::string(reinterpret_cast<const char*>(recording->begin), recording->Size()),
                         captions[id - 1][0], captions[id - 1][1]});
    }
    return parts;
}

void HowToPlay::Run(const std::vector<Part>& parts) {
    const uint32_t began = player_.clock.Now();
    problem_.clear();
    shown_ = false;
    pressed_ = false;
    picture_.Fill(0, 0, kDisplayWidth, kDisplayHeight, Rgb(0, 0, 0));
    for (const Part& part : parts)
        if (PlayPart(part) == Outcome::Stopped || Wait(kBetweenMs) == Outcome::Stopped) break;
    Window& window = player_.window;
    window.ShowHand(false, 0, 0, false);
    window.ShowCaption(std::string());
    if (shown_) window.ShowInstead(nullptr, Rect{});
    // The player sees the game again at once, and the press goes no further.
    if (pressed_) LetPressGo();
    shownFor_ = player_.clock.Now() - began;
}

void HowToPlay::Show(DemoGame& game) {
    const Rect a = game.TakeChanged();
    if (a.right <= a.left || a.bottom <= a.top) return;
    const Surface& from = game.Picture();
    CopyOpaque(picture_, a.left, a.top, a.right - a.left, a.bottom - a.top, from, a.left, a.top);
    player_.window.ShowInstead(&picture_, shown_ ? a : Rect{0, 0, kDisplayWidth, kDisplayHeight});
    shown_ = true;
}

HowToPlay::Outcome HowToPlay::PlayPart(const Part& part) {
    Replay replay;
    if (!ParseReplay(part.recording, replay, problem_)) return Outcome::Stopped;
    DemoGame game(makers_, player_.resources, player_.text, player_.time);
    if (!game.Start(replay, problem_)) return Outcome::Stopped;
    Window& window = player_.window;
    window.ShowCaption(part.caption);
    Show(game);
    bool moved = false, dragged = false;
    size_t next = 0;  // the next recorded stylus event for the hand
    const uint32_t start = player_.clock.Now();
    for (;;) {
        if (Listen(kFrameWaitMs) == Outcome::Stopped) return Outcome::Stopped;
        const uint64_t now = static_cast<uint64_t>(player_.clock.Now() - start) * 2 / kSlowerTimesTwo;
        game.PlayUntil(static_cast<uint32_t>(std::min<uint64_t>(now, UINT32_MAX)));
        Show(game);
        for (; next < replay.events.size() && replay.events[next].at <= now; ++next) {
            const ReplayEvent& e = replay.events[next];
            if (e.type == ReplayEvent::Type::End) continue;
            if (e.type == ReplayEvent::Type::Down) moved = false;
            if (e.type == ReplayEvent::Type::Move) moved = true;
            window.ShowHand(true, e.x, e.y, e.type != ReplayEvent::Type::Up);
            if (e.type == ReplayEvent::Type::Up && moved && !dragged) {
                dragged = true;
                window.ShowCaption(part.afterDrag);
            }
        }
        if (game.Ended() && next >= replay.events.size()) return Outcome::Done;
    }
}

HowToPlay::Outcome HowToPlay::Wait(uint32_t ms) {
    const uint32_t start = player_.clock.Now();
    while (player_.clock.Now() - start < ms)
        if (Listen(kFrameWaitMs) == Outcome::Stopped) return Outcome::Stopped;
    return Outcome::Done;
}

HowToPlay::Outcome HowToPlay::Listen(uint32_t ms) {
    WindowEvent e;
    if (!player_.window.WaitEvent(e, ms)) return Outcome::Done;
    switch (e.type) {
        case WindowEvent::Type::Destroy:
            player_.window.PostDestroy();
            return Outcome::Stopped;
        case WindowEvent::Type::KeyDown:
            return Outcome::Stopped;
        case WindowEvent::Type::PenDown:
            pressed_ = true;
            return Outcome::Stopped;
        default:
            return Outcome::Done;
    }
}

void HowToPlay::LetPressGo() {
    // The player's game never saw the press begin, so its drag and release
    // must not reach it either, even when the release came with the press
    // and only waits in the queue. A release outside the window may never
    // be told, so a key ends the wait as well (a new press is let go of in
    // turn); a close is passed on.
    Window& window = player_.window;
    WindowEvent e;
    for (;;) {
        const bool down = window.IsPrimaryButtonDown();
        if (!(down ? window.WaitEvent(e, 50) : window.PollEvent(e))) {
            if (down) continue;
            return;
        }
        if (e.type == WindowEvent::Type::Destroy) return window.PostDestroy();
        if (e.type == WindowEvent::Type::KeyDown || e.type == WindowEvent::Type::PenUp) return;
    }
}

}  // namespace pw
