#pragma once
// What How to play needs of a game loop: a game started on its platform and
// played from a recording one pass at a time, on a virtual clock that the
// caller moves, so that the demonstration can take turns with the window
// that shows it. The main loop offers exactly this for its own replays.
#include <cstdint>
#include <optional>

#include "platform/Platform.h"
#include "replay/Replay.h"

namespace pw {

class ReplayPasses {
public:
    virtual ~ReplayPasses() = default;

    // Creates the game (seeded from the date and time without a seed) and
    // hands it its first paint.
    virtual void Start(std::optional<uint32_t> seed) = 0;

    // What a replay pass handled.
    enum class ReplayPlayed { Nothing, Message, Due };
    // One pass at the clock's now: a message waiting (taken on the pass
    // before, else one the window has now) is handled, else the due event
    // once its time has come, unless it is the end; the current screen
    // ticks; then the window's next message, if any, goes into waiting. due
    // is null while no event is known yet.
    virtual ReplayPlayed PlayReplayPass(const ReplayEvent* due, std::optional<WindowEvent>& waiting) = 0;
    // The clock of the next pass that can change anything after the pass at
    // now (every pass skipped would have done nothing).
    virtual uint32_t NextReplayPass(uint32_t now, bool messageWaiting, uint32_t nextEventAt) const = 0;
    // At the end's time: the messages still queued are handled.
    virtual void HandleQueuedAtEnd(std::optional<WindowEvent> waiting) = 0;
    // Whether the game was closed.
    virtual bool QuitPosted() const = 0;

    // Whether the pass at now has reached the end that is due.
    static bool ReplayEndReached(const ReplayEvent& due, uint32_t now) {
        return due.type == ReplayEvent::Type::End && now >= due.at;
    }
};

}  // namespace pw
