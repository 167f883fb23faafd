#include "howtoplay/HowToPlay.h"

#include <algorithm>
#include <optional>

#include "howtoplay/FrameStream.h"
#include "replay/Replay.h"

namespace pw {

void HowToPlay::Run(const std::vector<Part>& parts) {
    problem_.clear();
    shown_ = false;
    picture_.Fill(0, 0, kDisplayWidth, kDisplayHeight, Rgb(0, 0, 0));
    for (const Part& part : parts) {
        const Outcome played = PlayPart(part);
        process_.Stop();
        if (played == Outcome::Stopped || Wait(kBetweenMs) == Outcome::Stopped) break;
    }
    window_.ShowHand(false, 0, 0, false);
    window_.ShowCaption(std::string());
    if (shown_) window_.ShowInstead(nullptr, Rect{});
}

HowToPlay::Outcome HowToPlay::PlayPart(const Part& part) {
    Replay replay;
    if (!ParseReplay(part.recording, replay, problem_)) return Outcome::Stopped;
    if (!process_.Start(part.recording, problem_)) return Outcome::Stopped;
    window_.ShowCaption(part.caption);
    FrameReader reader(kDisplayWidth, kDisplayHeight);
    std::optional<Frame> due;
    std::string bytes;
    bool ended = false, moved = false, dragged = false, pictured = false;
    size_t next = 0;  // the next recorded stylus event
    const uint32_t start = clock_.Now();
    for (;;) {
        if (Listen(kFrameWaitMs) == Outcome::Stopped) return Outcome::Stopped;
        const uint64_t now = static_cast<uint64_t>(clock_.Now() - start) * 2 / kSlowerTimesTwo;
        // Read only while no frame waits: the game is held back by the full
        // pipe, so that it plays no faster than it is shown.
        while (!ended && !due) {
            Frame frame;
            if (reader.Next(frame)) {
                due = std::move(frame);
                pictured = true;
                break;
            }
            if (reader.Broken()) break;
            bytes.clear();
            const DemoProcess::Read read = process_.ReadSome(bytes);
            if (read == DemoProcess::Read::Nothing) break;
            if (read == DemoProcess::Read::Ended) ended = true;
            reader.Feed(bytes.data(), bytes.size());
        }
        if (reader.Broken() || (ended && !due && reader.HasPart())) {
            problem_ = "How to play stopped: its game sent a broken picture";
            return Outcome::Stopped;
        }
        if (ended && !pictured) {
            // Without a picture the hand would move over the player's game.
            problem_ = "How to play stopped: its game showed nothing";
            return Outcome::Stopped;
        }
        while (due && due->at <= now) {
            const Rect& a = due->area;
            const int width = a.right - a.left;
            for (int y = a.top; y < a.bottom; ++y)
                std::copy_n(due->pixels.data() + static_cast<size_t>(y - a.top) * width, width,
                            picture_.Row(y) + a.left);
            window_.ShowInstead(&picture_, shown_ ? a : Rect{0, 0, kDisplayWidth, kDisplayHeight});
            shown_ = true;
            due.reset();
            Frame frame;
            if (reader.Next(frame)) due = std::move(frame);
        }
        for (; next < replay.events.size() && replay.events[next].at <= now; ++next) {
            const ReplayEvent& e = replay.events[next];
            if (e.type == ReplayEvent::Type::End) continue;
            if (e.type == ReplayEvent::Type::Down) moved = false;
            if (e.type == ReplayEvent::Type::Move) moved = true;
            window_.ShowHand(true, e.x, e.y, e.type != ReplayEvent::Type::Up);
            if (e.type == ReplayEvent::Type::Up && moved && !dragged) {
                dragged = true;
                window_.ShowCaption(part.afterDrag);
            }
        }
        if (ended && !due && next >= replay.events.size()) return Outcome::Done;
    }
}

HowToPlay::Outcome HowToPlay::Wait(uint32_t ms) {
    const uint32_t start = clock_.Now();
    while (clock_.Now() - start < ms)
        if (Listen(kFrameWaitMs) == Outcome::Stopped) return Outcome::Stopped;
    return Outcome::Done;
}

HowToPlay::Outcome HowToPlay::Listen(uint32_t ms) {
    WindowEvent e;
    if (!window_.WaitEvent(e, ms)) return Outcome::Done;
    switch (e.type) {
        case WindowEvent::Type::Destroy:
            window_.PostDestroy();
            return Outcome::Stopped;
        case WindowEvent::Type::KeyDown:
            return Outcome::Stopped;
        case WindowEvent::Type::PenDown:
            // The press ends it, and its drag and release go no further:
            // the player's game never saw it begin.
            while (window_.IsPrimaryButtonDown()) {
                if (window_.WaitEvent(e, 50) && e.type == WindowEvent::Type::Destroy) {
                    window_.PostDestroy();
                    break;
                }
            }
            return Outcome::Stopped;
        default:
            return Outcome::Done;
    }
}

}  // namespace pw
