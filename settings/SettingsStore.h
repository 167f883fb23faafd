#pragma once
// What the player carries from one run to the next: the score, the level and
// whether the game moves the level by itself. Every change is written through
// to the registry at once, opening and closing the key around each single read
// or write. The store also owns the automatic levelling rule over the last five
// finished levels.
//
// One store per game, shared by reference count within the game's settings
// context: the game screen acquires it when it is built and releases it when
// it is destroyed.
#include <cstdint>
#include <string>

#include "platform/Registry.h"
#include "settings/SettingsContext.h"
#include "base/PointerList.h"

namespace pw {

class SettingsStore {
public:
    static constexpr const char* kKeyPath = "Software\\Marblequill\\Pivotwarden";
    static constexpr int32_t kLowestLevel = 1;
    static constexpr int32_t kHighestLevel = 15;
    static constexpr int32_t kHighestScore = 999999;
    static constexpr int32_t kFullLevelPoints = 24;
    // Automatic levelling judges this many of the most recent results.
    static constexpr int32_t kJudgedResults = 5;
    // A value's text is read into a buffer of this many characters with its
    // terminator; a stored text of more than 9 characters reads as missing.
    static constexpr size_t kTextBufferChars = 10;

    // The game's store, built and loaded from the context's registry by the
    // first Acquire; later calls on the same context share it.
    static SettingsStore& Acquire(SettingsContext& context);
    // Destroys the context's store with the last release, so that a later
    // Acquire loads a new one. A release without an acquire does nothing.
    static void Release(SettingsContext& context);

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored value read as "%d" would read its text; a value that is
    // missing, unreadable, not a number or outside lowest..highest gives
    // lowest, which is every value's default.
    int32_t ReadValue(const std::string& name, int32_t lowest, int32_t highest);
    // Stores the value's decimal text. A failed write is dropped: play goes
    // on with the values in memory.
    void WriteValue(const std::string& name, int32_t value);

    // Forgets what is held in memory and reads the stored values again, as a
    // store loaded now would (for a game that starts over).
    void Reload();

    // Records one finished level while automatic levelling is on and moves the
    // level by the last five results: four or five successes raise it, none
    // or one lower it. After a move five new results are needed.
    void RecordResult(bool success);
    // The player picks a level by hand; outside 1..15 nothing happens.
    void SetLevel(int32_t newLevel);
    // Adds levelPoints to the score, never beyond kHighestScore, so that the
    // stored score always loads back as itself.
    void AwardLevelPoints();
    void SetAutoAdjust(bool on);

    int32_t level = kLowestLevel;
    // Nonzero bytes are successes, oldest first, the last kJudgedResults at
    // most; emptied whenever the level moves.
    LinkedList<uint8_t> results;
    uint8_t autoAdjust = 1;
    // Set by a change of level by hand; the game screen clears it.
    uint8_t levelChanged = 0;
    int32_t score = 0;
    // What the next award adds; the game screen lowers it between awards.
    int32_t levelPoints = kFullLevelPoints;

private:
    friend class SettingsContext;
    explicit SettingsStore(Registry& registry);
    ~SettingsStore() = default;

    Registry& registry;
};

}  // namespace pw
