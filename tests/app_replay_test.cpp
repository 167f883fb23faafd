// Replays through the main loop: the virtual clock's skips are invisible, a
// close at the end is played, and the header's start values reach the game.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "platform/headless/HeadlessPlatform.h"
#include "replay/ReplaySettings.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/ReplayPassRunner.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

uint64_t PictureHash(const Surface& picture) {
    uint64_t hash = 14695981039346656037ull;
    for (Pixel p : picture.Pixels()) hash = (hash ^ p) * 1099511628211ull;
    return hash;
}

Replay Parsed(const std::string& text) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(ParseReplay(text, replay, error)) << error;
    return replay;
}

// The title pressed, a long wait, a weight dragged onto a pan, another wait.
const char* const kEvents =
    "at 1000 down 120 160\nat 1030 up 120 160\n"
    "at 1500 down 60 295\nat 1520 move 100 240\nat 1540 move 180 130\nat 1561 up 180 130\n";

TEST(ReplayClockTest, ScreensAtEveryEndTimeEqualPlainMillisecondPasses) {
    const Replay events = Parsed(std::string("pivotwarden-replay 1\n") + kEvents + "at 1800 end\n");
    // The reference: one pass per millisecond, the picture kept after each.
    std::map<uint32_t, uint64_t> shown;
    {
        TempFolder config;
        HeadlessPlatform hp(config.path);
        MainLoop loop(hp.Get());
        loop.Start(5u);
        size_t next = 0;
        for (hp.clock.now = 999; hp.clock.now <= 1800; ++hp.clock.now) {
            WindowEvent m;
            bool have = loop.PollReplayMessage(m);
            const ReplayEvent& due = events.events[next];
            if (!have && due.type != ReplayEvent::Type::End && due.at <= hp.clock.now) {
                m = WindowEvent{due.type == ReplayEvent::Type::Down   ? WindowEvent::Type::PenDown
                                : due.type == ReplayEvent::Type::Move ? WindowEvent::Type::PenMove
                                                                      : WindowEvent::Type::PenUp,
                                due.x, due.y, true};
                have = true;
                ++next;
            }
            if (have) loop.HandleMessage(m);
            loop.App()->current->Tick(hp.clock.now);
            shown[hp.clock.now] = PictureHash(hp.window.Shown());
        }
    }
    int differing = 0, compared = 0;
    for (uint32_t end = 1000; end <= 1800; end += end < 1100 || (end >= 1480 && end < 1700) ? 3 : 29) {
        std::string text = "pivotwarden-replay 1\n";
        for (const ReplayEvent& e : events.events)
            if (e.type != ReplayEvent::Type::End && e.at <= end) text += FormatReplayEvent(e) + "\n";
        text += "at " + std::to_string(end) + " end\n";
        TempFolder config;
        HeadlessPlatform hp(config.path);
        MainLoop loop(hp.Get());
        loop.Start(5u);
        ASSERT_EQ(loop.RunReplay(Parsed(text), hp.clock), 0);
        ASSERT_EQ(hp.clock.now, end);
        ++compared;
        if (PictureHash(hp.window.Shown()) != shown[end]) {
            ++differing;
            ADD_FAILURE() << "the screen at " << end << " differs from plain passes";
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(differing, 0);
}

// The close icon pressed as the recording ends: the destroy message it queued
// is played too, as the live game played it before noting its end.
TEST(ReplayEndTest, ACloseQueuedAtTheEndIsPlayedAndTheLastScreenIsKept) {
    TempFolder config;
    HeadlessPlatform hp(config.path);
    MainLoop loop(hp.Get());
    bool keptLastScreen = false;
    loop.SetBeforeClose([&]() { keptLastScreen = loop.App() != nullptr; });
    loop.Start(5u);
    ASSERT_EQ(loop.RunReplay(Parsed("pivotwarden-replay 1\nat 1000 down 120 160\nat 1030 up 120 160\n"
                                    "at 1500 down 228 12\nat 1500 end\n"),
                             hp.clock),
              0);
    EXPECT_TRUE(loop.QuitPosted());
    EXPECT_EQ(loop.App(), nullptr);
    EXPECT_TRUE(keptLastScreen);
}

TEST(ReplayEndTest, AReplayWithoutItsEndPlaysOnPastItsLastEvent) {
    const Replay replay = Parsed(std::string("pivotwarden-replay 1\n") + kEvents);
    ASSERT_EQ(replay.events.back().type, ReplayEvent::Type::End);
    EXPECT_EQ(replay.events.back().at, 1561u + kReplayTailMs);
    EXPECT_EQ(Parsed("pivotwarden-replay 1\n").events.back().at, kReplayTailMs);
}

// The start values of the header are what the game loads, and a recording
// notes what the game loaded.
TEST(ReplayStartTest, HeaderValuesAreStoredAndLoadedAndRecordedBack) {
    const Replay replay = Parsed("pivotwarden-replay 1\nseed 4\nscore 500\nlevel 9\nauto 1\nat 10 end\n");
    TempFolder config;
    HeadlessPlatform hp(config.path);
    ASSERT_TRUE(StoreReplayStart(hp.registry, replay));
    MainLoop loop(hp.Get());
    loop.Start(replay.SeedOrDefault());
    SettingsStore& settings = loop.App()->Game().settings;
    EXPECT_EQ(settings.score, 500);
    EXPECT_EQ(settings.level, 9);
    EXPECT_EQ(settings.autoAdjust, 0);
    EXPECT_EQ(FormatReplayHeader(RecordedStart(settings, 4)), "seed 4\nscore 500\nlevel 9\nauto 1\n");
    // Out of range loads as the store loads it; left out is the default.
    EXPECT_EQ(Parsed("pivotwarden-replay 1\nlevel 16\nat 10 end\n").level, 16);
    EXPECT_FALSE(Parsed("pivotwarden-replay 1\nat 10 end\n").score);
}

// A replay played pass by pass as MainLoop::RunReplay plays it, so that two
// games can take turns in one process.
class SteppedReplay {
public:
    SteppedReplay(const std::string& configRoot, const Replay& replay)
        : hp_(configRoot), loop_(hp_.Get()), events_(replay.events) {
        EXPECT_TRUE(StoreReplayStart(hp_.registry, replay));
        loop_.KeepLastDump();
        loop_.Start(replay.SeedOrDefault());
        done_ = !events_.Next(due_);
        hp_.clock.now = due_.at - 1;
    }
    // One pass; false once the replay has ended.
    bool Step() {
        if (done_ || loop_.QuitPosted()) return !(done_ = true);
        const MainLoop::ReplayPlayed played = loop_.PlayReplayPass(&due_, waiting_);
        if (played == MainLoop::ReplayPlayed::Due && !events_.Next(due_)) return !(done_ = true);
        if (MainLoop::ReplayEndReached(due_, hp_.clock.now)) {
            loop_.HandleQueuedAtEnd(waiting_);
            return !(done_ = true);
        }
        hp_.clock.now = loop_.NextReplayPass(
            hp_.clock.now, played != MainLoop::ReplayPlayed::Nothing || waiting_.has_value(), due_.at);
        return true;
    }
    std::string Dump() { return loop_.Dump(); }
    uint64_t Picture() const { return PictureHash(hp_.window.Shown()); }

private:
    HeadlessPlatform hp_;
    MainLoop loop_;
    ReplayEventList events_;
    ReplayEvent due_;
    std::optional<WindowEvent> waiting_;
    bool done_ = false;
};

// Each game owns its settings and its random numbers: two autoplayed games
// whose passes alternate in one process end exactly as each ends alone.
TEST(GamesSideBySideTest, InterleavedGamesEachEndAsTheirOwnReplayAlone) {
    std::vector<Replay> replays;
    for (uint32_t seed : {7u, 8u}) {
        TempFolder folder;
        ReplayPassRunner runner(folder.path, seed);
        AutoPlayer player(25);
        std::string error;
        ASSERT_TRUE(runner.Run([&](ReplayPassRunner& r) { player.Plan(r); }, error)) << error;
        replays.push_back(Parsed(runner.ReplayText()));
    }
    std::vector<std::string> aloneDumps;
    std::vector<uint64_t> alonePictures;
    for (const Replay& replay : replays) {
        TempFolder folder;
        SteppedReplay alone(folder.path, replay);
        while (alone.Step()) {
        }
        aloneDumps.push_back(alone.Dump());
        alonePictures.push_back(alone.Picture());
    }
    TempFolder first, second;
    SteppedReplay a(first.path, replays[0]), b(second.path, replays[1]);
    for (bool moreA = true, moreB = true; moreA || moreB;) {
        if (moreA) moreA = a.Step();
        if (moreB) moreB = b.Step();
    }
    EXPECT_NE(aloneDumps[0], aloneDumps[1]);
    EXPECT_EQ(a.Dump(), aloneDumps[0]);
    EXPECT_EQ(b.Dump(), aloneDumps[1]);
    EXPECT_EQ(a.Picture(), alonePictures[0]);
    EXPECT_EQ(b.Picture(), alonePictures[1]);
}

}  // namespace
}  // namespace pw
