#pragma once
// One recording played as a game of its own, for How to play: on settings
// held in memory (its header's values, never the player's), on a virtual
// clock, without sound, in a window that is only a picture in memory, and a
// little at a time, so that the window showing it keeps answering the
// player between two steps.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "howtoplay/ReplayPasses.h"
#include "platform/Platform.h"
#include "platform/TextRegistry.h"
#include "platform/VirtualClock.h"
#include "replay/Replay.h"

namespace pw {

class DemoGame {
public:
    // What the host makes for each game, from the layers this one cannot
    // name: a window that is only a picture in memory and calls presented
    // with each area it has been given to show, and the loop that plays a
    // game on a platform.
    struct Makers {
        std::function<std::unique_ptr<Window>(std::function<void(const Rect&)> presented)> window;
        std::function<std::unique_ptr<ReplayPasses>(Platform&)> loop;
    };

    // resources, text and time are the player's: they hold nothing a game
    // changes.
    DemoGame(const Makers& makers, Resources& resources, TextRenderer& text, SystemTime& time);
    DemoGame(const DemoGame&) = delete;
    DemoGame& operator=(const DemoGame&) = delete;

    // Starts the game on the recording's seed and stored values; false, with
    // the reason, when its settings cannot be stored.
    bool Start(const Replay& recording, std::string& error);
    // Plays every pass due up to the recording's time until, or to its end.
    void PlayUntil(uint32_t until);
    bool Ended() const { return ended_; }
    const Surface& Picture() const { return window_->Shown(); }
    // The part of Picture() presented since the last call; empty when none.
    Rect TakeChanged();

private:
    // The demonstration is watched, not heard, as the recordings were made.
    class Silence : public SoundPlayer {
    public:
        void Play(const SoundData*) override {}
    };
    void Presented(const Rect& area);

    MemoryTextStorage storage_;
    TextRegistry registry_{storage_};
    VirtualClock clock_;
    Silence sound_;
    Rect changed_{};
    std::unique_ptr<Window> window_;
    Platform platform_;
    std::unique_ptr<ReplayPasses> loop_;
    Replay recording_;
    size_t next_ = 0;  // the recording's next event
    std::optional<WindowEvent> waiting_;
    bool ended_ = true;
};

}  // namespace pw
