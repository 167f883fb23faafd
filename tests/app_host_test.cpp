// The desktop host: its options, the replay format, and whole runs of the
// real executable headless (replay, screenshot, dump).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/HostOptions.h"
#include "app/MainLoop.h"
#include "howtoplay/HowToPlay.h"
#include "platform/AtlasTextRenderer.h"
#include "platform/EmbeddedResourceStore.h"
#include "platform/TextRegistry.h"
#include "platform/VirtualClock.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindow.h"
#include "replay/Replay.h"
#include "replay/ReplaySettings.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

namespace fs = std::filesystem;

TEST(HostOptionsTest, AcceptsEveryOptionInBothSpellings) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(ParseHostOptions(
        {"--scale", "3", "--seed=42", "--headless", "--replay", "r.txt", "--screenshot=s.png", "--dump",
         "d.json", "--fullscreen", "--describe=-", "--no-bar"},
        o, error))
        << error;
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_TRUE(o.headless);
    EXPECT_TRUE(o.fullscreen);
    EXPECT_TRUE(o.noBar);
    EXPECT_EQ(o.replayPath, "r.txt");
    EXPECT_EQ(o.screenshotPath, "s.png");
    EXPECT_EQ(o.dumpPath, "d.json");
    EXPECT_EQ(o.describePath, "-");
    ASSERT_TRUE(ParseHostOptions({}, o, error));
    EXPECT_EQ(o.scale, 2);
    EXPECT_FALSE(o.seed.has_value());
    EXPECT_FALSE(o.noBar);
}

TEST(HostOptionsTest, BadOptionsAndValuesAreNamed) {
    HostOptions o;
    std::string error;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"--scale", "0"}, "--scale"},
        {{"--scale", "9"}, "--scale"},
        {{"--scale", "2x"}, "2x"},
        {{"--scale"}, "needs a value"},
        {{"--seed", "-1"}, "--seed"},
        {{"--seed", "4294967296"}, "--seed"},
        {{"--headless=yes"}, "takes no value"},
        {{"--dump="}, "non-empty"},
        {{"--record", "a", "--replay", "b"}, "together"},
        // A set deals from its own seed and settings: neither can be honoured too.
        {{"--set", "4711-6", "--seed", "5"}, "--set and --seed"},
        {{"--replay=r", "--set=4711-6"}, "--set and --replay"},
        // One output to two files would leave one of them unwritten.
        {{"--dump", "a", "--dump=b"}, "--dump given twice"},
        {{"--screenshot=a", "--screenshot", "a"}, "--screenshot given twice"},
        {{"--record", "a", "--headless", "--record", "b"}, "--record given twice"},
        // Control bytes are shown, not sent to the terminal.
        {{"--x\x1b]0;owned\x07"}, "'--x\\x1B]0;owned\\x07'"},
        {{"--scale", "\x1b[2J"}, "'\\x1B[2J'"},
    };
    for (const auto& [args, named] : cases) {
        error.clear();
        EXPECT_FALSE(ParseHostOptions(args, o, error)) << args[0];
        EXPECT_NE(error.find(named), std::string::npos) << error;
        EXPECT_EQ(std::count_if(error.begin(), error.end(), [](char c) { return c >= 0 && c < 0x20; }), 0)
            << "one line, no control bytes: " << error;
    }
}

// Quoted replay text cannot reach the terminal as control bytes, nor run long.
TEST(ReplayTest, MessagesQuoteTextSafely) {
    Replay r;
    std::string error;
    EXPECT_FALSE(
        ParseReplay("pivotwarden-replay 1\n\x1b]0;owned\x07" + std::string(500, 'y') + "\n", r, error));
    EXPECT_NE(error.find("'\\x1B]0;owned\\x07yyy"), std::string::npos) << error;
    EXPECT_EQ(error.find('\x1b'), std::string::npos);
    EXPECT_LT(error.size(), 120u) << error;
}

TEST(ReplayTest, ParsesCommentsBlankLinesAndEvents) {
    Replay r;
    std::string error;
    ASSERT_TRUE(
        ParseReplay("# a game\npivotwarden-replay 1\n\nseed 12345  # fixed\nat 1000 down 30 295\r\n"
                    "at 1016 move 60 200\nat 1016 up 239 319\nat 5000 end\n",
                    r, error))
        << error;
    ASSERT_EQ(r.seed, 12345u);
    ASSERT_EQ(r.events.size(), 4u);
    EXPECT_EQ(r.events[0].type, ReplayEvent::Type::Down);
    EXPECT_EQ(r.events[2].x, 239);
    EXPECT_EQ(r.events[2].y, 319);
    EXPECT_EQ(r.events[3].type, ReplayEvent::Type::End);
    EXPECT_EQ(r.events[3].at, 5000u);
    EXPECT_EQ(FormatReplayEvent(r.events[1]), "at 1016 move 60 200");
    // Saved by an editor that marks UTF-8 text.
    ASSERT_TRUE(ParseReplay("\xEF\xBB\xBFpivotwarden-replay 1\nseed 5\nat 10 end\n", r, error)) << error;
    EXPECT_EQ(r.seed, 5u);
    ASSERT_TRUE(ParseReplay("\xEF\xBB\xBF# a game\npivotwarden-replay 1\nat 10 end\n", r, error)) << error;
    EXPECT_FALSE(ParseReplay("pivotwarden-replay 1\n\xEF\xBB\xBFseed 5\nat 10 end\n", r, error));
}

TEST(ReplayTest, MalformedFilesNameTheLineAndProblem) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "empty"},
        {"pivotwarden-replay 2\nat 1 end\n", "version"},
        {"hello\n", "line 1"},
        {"pivotwarden-replay 1\nat 10 down 1\nat 20 end\n", "line 2"},
        {"pivotwarden-replay 1\nat 10 down 240 5\nat 20 end\n", "X from 0 to 239"},
        {"pivotwarden-replay 1\nat 10 down -1 5\nat 20 end\n", "line 2"},
        {"pivotwarden-replay 1\nat 20 down 1 1\nat 10 up 1 1\nat 30 end\n", "backwards"},
        {"pivotwarden-replay 1\nat 99999999999 end\n", "line 2"},
        {"pivotwarden-replay 1\nat 10 jump 1 1\nat 20 end\n", "unknown event"},
        {"pivotwarden-replay 1\nat 10 end\nat 20 end\n", "follow"},
        {"pivotwarden-replay 1\nat 10 down 1 1\nseed 5\nat 20 end\n", "seed"},
        {"pivotwarden-replay 1\nseed x\nat 20 end\n", "seed"},
        {std::string("pivotwarden-replay 1\nat 1\0 end\n", 29), "NUL"},
        {"pivotwarden-replay 1\nscore x\nat 20 end\n", "'score N'"},
        {"pivotwarden-replay 1\nlevel 1234567890\nat 20 end\n", "at most 9 characters"},
        {"pivotwarden-replay 1\nauto\nat 20 end\n", "'auto N'"},
        {"pivotwarden-replay 1\nlevel 2\nlevel 3\nat 20 end\n", "once"},
        {"pivotwarden-replay 1\nat 10 down 1 1\nscore 5\nat 20 end\n", "before the events"},
        {"pivotwarden-replay 1\n" + std::string(1 << 20, 'x') + "\n", "line 2: longer than 1024 bytes"},
    };
    for (const auto& [text, named] : cases) {
        Replay r;
        std::string error;
        EXPECT_FALSE(ParseReplay(text, r, error)) << text;
        EXPECT_NE(error.find(named), std::string::npos) << "'" << error << "' for: " << text;
    }
}

// A window that notes what How to play shows in it instead of its own: the
// hand, the captions, the picture shown as each caption came, and how often
// the picture shown was not what the demonstration's game showed then.
class NotingWindow : public HeadlessWindow {
public:
    void ShowInstead(const Surface* picture, const Rect&) override {
        instead = picture;
        if (picture == nullptr) return;
        ++shownFrames;
        if (demoWindow != nullptr && picture->Pixels() != demoWindow->Shown().Pixels()) ++notAsDemo;
    }
    void ShowHand(bool shown, int x, int y, bool down) override { hands.push_back({shown, x, y, down}); }
    void ShowCaption(const std::string& text) override {
        captions.push_back(text);
        picturesAtCaptions.push_back(instead != nullptr ? instead->Pixels() : std::vector<Pixel>());
    }
    struct Hand {
        bool shown;
        int x, y;
        bool down;
    };
    const Surface* instead = nullptr;
    const HeadlessWindow* demoWindow = nullptr;  // the latest demonstration game's
    int shownFrames = 0;
    int notAsDemo = 0;
    std::vector<Hand> hands;
    std::vector<std::string> captions;
    std::vector<std::vector<Pixel>> picturesAtCaptions;
};

// The player's side of How to play: the window, a clock that its waits move
// on, and settings and sound that the demonstration must leave alone.
struct PlayerSide {
    NotingWindow window;
    EmbeddedResourceStore resources;
    AtlasTextRenderer text;
    RecordingSoundPlayer sound;
    VirtualClock clock;
    MemoryTextStorage settings;
    TextRegistry registry{settings};
    FixedTime time;
    Platform platform{window, resources, text, sound, clock, registry, time};

    // The games of the demonstration as the desktop makes them.
    DemoGame::Makers Makers() {
        return DemoGame::Makers{
            [this](std::function<void(const Rect&)> presented) -> std::unique_ptr<Window> {
                auto demo = std::make_unique<HeadlessWindow>();
                demo->onPresent = std::move(presented);
                window.demoWindow = demo.get();
                return demo;
            },
            [](Platform& platform) -> std::unique_ptr<ReplayPasses> {
                return std::make_unique<MainLoop>(platform);
            }};
    }
};

// The picture a recording ends on, played as `--headless --replay` plays it.
std::vector<Pixel> ReplayEndPicture(const std::string& recording) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(ParseReplay(recording, replay, error)) << error;
    PlayerSide side;
    EXPECT_TRUE(StoreReplayStart(side.registry, replay));
    MainLoop loop(side.platform);
    loop.Start(replay.SeedOrDefault());
    loop.RunReplay(replay, side.clock);
    return side.window.Shown().Pixels();
}

// Played to its end, each recording is a game of its own in this process:
// its pictures, copied as they come, make the picture its replay ends on,
// also on a machine so slow that every wait takes a quarter of a second; the
// hand follows the recording at a person's pace, pressing while down, the
// caption moves on after the first drag, and the player's window, settings
// and sound are given back untouched.
TEST(HowToPlayTest, PlaysEachRecordingToItsEndAtAPersonsPace) {
    const std::vector<HowToPlay::Part> parts = HowToPlay::EmbeddedParts();
    ASSERT_EQ(parts.size(), 2u);
    std::vector<Replay> replays(2);
    uint32_t paced = 0;
    for (size_t i = 0; i < 2; ++i) {
        std::string error;
        ASSERT_TRUE(ParseReplay(parts[i].recording, replays[i], error)) << error;
        paced += replays[i].events.back().at * HowToPlay::kSlowerTimesTwo / 2 + HowToPlay::kBetweenMs;
    }
    for (const uint32_t waitTakes : {0u, 250u}) {
        PlayerSide side;
        side.window.onWait = [&side, waitTakes](uint32_t ms) { side.clock.now += std::max(ms, waitTakes); };
        HowToPlay show(side.platform, side.Makers());
        show.Run(parts);
        EXPECT_EQ(show.Problem(), "");
        EXPECT_GT(side.window.shownFrames, 20);
        EXPECT_EQ(side.window.notAsDemo, 0);
        EXPECT_EQ(side.window.captions, (std::vector<std::string>{parts[0].caption, parts[0].afterDrag,
                                                                  parts[1].caption, parts[1].afterDrag, ""}));
        // As the next part begins, and as the last ends, the picture shown is
        // the one the finished part's replay ends on.
        ASSERT_EQ(side.window.picturesAtCaptions.size(), 5u);
        EXPECT_TRUE(side.window.picturesAtCaptions[2] == ReplayEndPicture(parts[0].recording)) << waitTakes;
        EXPECT_TRUE(side.window.picturesAtCaptions[4] == ReplayEndPicture(parts[1].recording)) << waitTakes;
        EXPECT_GE(side.clock.now, paced);
        EXPECT_LT(side.clock.now, paced + 1000);
        EXPECT_EQ(show.ShownForMs(), side.clock.now);
        EXPECT_EQ(side.window.instead, nullptr);
        EXPECT_EQ(side.window.presentCount, 0);
        EXPECT_TRUE(side.settings.texts.empty());
        EXPECT_TRUE(side.sound.played.empty());
        if (waitTakes > 0) continue;
        const NotingWindow::Hand& first = side.window.hands.front();
        EXPECT_TRUE(first.shown && first.down);
        EXPECT_EQ(first.x, replays[0].events[0].x);
        EXPECT_EQ(first.y, replays[0].events[0].y);
        EXPECT_FALSE(side.window.hands.back().shown);
    }
}

// Ended by a key, a close, a click, a press whose release is never told (it
// went outside the window), or a recording that cannot be played: How to
// play always gives the window its own picture back, with no hand and no
// caption; a close is passed on to the player's game, and nothing else of
// what ended it reaches that game.
TEST(HowToPlayTest, EndsCleanlyHoweverItEnds) {
    const WindowEvent key{WindowEvent::Type::KeyDown, 0, 0, false, Key::Enter};
    const WindowEvent down{WindowEvent::Type::PenDown, 50, 60, true};
    const WindowEvent up{WindowEvent::Type::PenUp, 50, 60, false};
    struct Case {
        std::string name;
        std::function<void(NotingWindow&, uint32_t now)> input;
        bool playable, problem, destroyPassedOn;
    };
    const std::vector<Case> cases = {
        {"key",
         [&](NotingWindow& w, uint32_t now) {
             if (now == 2000) w.Post(key);
         },
         true, false, false},
        {"close",
         [](NotingWindow& w, uint32_t now) {
             if (now == 2000) w.PostDestroy();
         },
         true, false, true},
        {"click",
         [&](NotingWindow& w, uint32_t now) {
             if (now != 2000) return;
             w.Post(down);
             w.Post(up);
         },
         true, false, false},
        {"released outside",
         [&](NotingWindow& w, uint32_t now) {
             if (now == 2000) {
                 w.SetPrimaryButtonDown(true);
                 w.Post(down);
             }
             if (now == 3000) w.Post(key);
         },
         true, false, false},
        {"unplayable", nullptr, false, true, false},
    };
    for (const Case& c : cases) {
        PlayerSide side;
        bool stuck = false;
        side.window.onWait = [&](uint32_t ms) {
            side.clock.now += ms;
            if (c.input) c.input(side.window, side.clock.now);
            // Far past the end: let a demonstration that never ends go.
            if (side.clock.now > 120000 && !stuck) {
                stuck = true;
                side.window.SetPrimaryButtonDown(false);
                side.window.Post(key);
            }
        };
        std::vector<HowToPlay::Part> parts = HowToPlay::EmbeddedParts();
        if (!c.playable) parts.insert(parts.begin(), {"pivotwarden-replay 9\n", "one", "two"});
        HowToPlay show(side.platform, side.Makers());
        show.Run(parts);
        EXPECT_FALSE(stuck) << c.name;
        EXPECT_LT(side.clock.now, 5000u) << c.name;
        EXPECT_EQ(side.window.instead, nullptr) << c.name;
        EXPECT_EQ(side.window.shownFrames > 0, c.playable) << c.name;
        EXPECT_TRUE(side.window.hands.empty() || !side.window.hands.back().shown) << c.name;
        ASSERT_FALSE(side.window.captions.empty()) << c.name;
        EXPECT_EQ(side.window.captions.back(), "") << c.name;
        EXPECT_EQ(!show.Problem().empty(), c.problem) << c.name << ": " << show.Problem();
        std::vector<WindowEvent::Type> left;
        WindowEvent e;
        while (side.window.PollEvent(e)) left.push_back(e.type);
        EXPECT_EQ(left, c.destroyPassedOn ? std::vector<WindowEvent::Type>{WindowEvent::Type::Destroy}
                                          : std::vector<WindowEvent::Type>{})
            << c.name;
        EXPECT_TRUE(side.settings.texts.empty()) << c.name;
    }
}

// Runs the real program headless in a folder of its own.
class HeadlessRunTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Exit code; the program's error output goes to "stderr.txt". A run
    // that hangs is stopped after a minute and gives 137. environment goes
    // before the program, as for env(1).
    int Run(const std::string& arguments, const std::string& environment = "") const {
        const std::string command = "cd '" + dir_.string() + "' && XDG_CONFIG_HOME='" + Path("config") +
                                    "' timeout -s KILL 60 env " + environment + " '" + PW_EXECUTABLE + "' " +
                                    arguments + " 2> stderr.txt > stdout.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int Lines(const std::string& name) const {
        const std::string text = Read(name);
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    TempFolder folder_;
    fs::path dir_{folder_.path};
};

TEST_F(HeadlessRunTest, APressOnTheTitleStartsTheGame) {
    Write("press.replay",
          "pivotwarden-replay 1\nseed 3\nat 1000 down 120 160\nat 1040 up 120 160\nat 2000 end\n");
    Write("still.replay", "pivotwarden-replay 1\nseed 3\nat 1000 end\n");
    // The version text passes the press through to the picture beneath.
    Write("version.replay",
          "pivotwarden-replay 1\nseed 3\nat 1000 down 15 305\nat 1040 up 15 305\nat 1100 end\n");
    ASSERT_EQ(Run("--headless --replay press.replay --dump press.json"), 0) << Read("stderr.txt");
    ASSERT_EQ(Run("--headless --replay still.replay --dump still.json"), 0) << Read("stderr.txt");
    ASSERT_EQ(Run("--headless --replay version.replay --dump version.json"), 0) << Read("stderr.txt");
    EXPECT_NE(Read("press.json").find("\"screen\": \"game\""), std::string::npos);
    EXPECT_NE(Read("still.json").find("\"screen\": \"title\""), std::string::npos);
    EXPECT_NE(Read("version.json").find("\"screen\": \"game\""), std::string::npos);
    EXPECT_NE(Read("press.json").find("\"kind\": \"Weight\""), std::string::npos);
    EXPECT_NE(Read("press.json").find("\"pan\": \"left\"") + Read("press.json").find("\"pan\": \"right\""),
              2 * std::string::npos);
}

TEST_F(HeadlessRunTest, TheSameReplayGivesTheSamePictureAndDump) {
    Write("drag.replay",
          "pivotwarden-replay 1\nseed 99\nat 1000 down 100 100\nat 1030 up 100 100\n"
          "at 1500 down 60 295\nat 1520 move 100 240\nat 1540 move 180 130\nat 1560 up 180 130\n"
          "at 1700 down 90 295\nat 1720 move 60 150\nat 1740 up 60 150\nat 2600 end\n");
    ASSERT_EQ(Run("--headless --replay drag.replay --screenshot a.png --dump a.json"), 0)
        << Read("stderr.txt");
    fs::remove_all(Path("config"));
    ASSERT_EQ(Run("--headless --replay drag.replay --screenshot b.png --dump b.json"), 0)
        << Read("stderr.txt");
    EXPECT_GT(Read("a.png").size(), 1000u);
    EXPECT_EQ(Read("a.png"), Read("b.png"));
    EXPECT_EQ(Read("a.json"), Read("b.json"));
    EXPECT_EQ(Read("a.png").substr(1, 3), "PNG");
}

TEST_F(HeadlessRunTest, BadInputEndsWithOneLineAndWritesNothing) {
    Write("broken.replay", "pivotwarden-replay 1\nat 10 down 500 5\nat 20 end\n");
    EXPECT_NE(Run("--headless --replay broken.replay --screenshot s.png --dump d.json"), 0);
    const std::string message = Read("stderr.txt");
    EXPECT_NE(message.find("broken.replay"), std::string::npos) << message;
    EXPECT_NE(message.find("line 2"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_FALSE(fs::exists(Path("s.png")));
    EXPECT_FALSE(fs::exists(Path("d.json")));
    EXPECT_FALSE(fs::exists(Path("config")));

    EXPECT_NE(Run("--headless --replay missing.replay --dump d.json"), 0);
    EXPECT_NE(Read("stderr.txt").find("missing.replay"), std::string::npos);
    EXPECT_NE(Run("--bogus"), 0);
    EXPECT_NE(Read("stderr.txt").find("--bogus"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("d.json")));

    // A screenshot into a folder that does not exist is reported, not faked.
    Write("ok.replay", "pivotwarden-replay 1\nat 10 end\n");
    EXPECT_NE(Run("--headless --replay ok.replay --screenshot nowhere/s.png"), 0);
    EXPECT_NE(Read("stderr.txt").find("nowhere/s.png"), std::string::npos);
}

TEST_F(HeadlessRunTest, RecordingHoldsTheSeedAndReplaysToTheSameScreen) {
    ASSERT_EQ(Run("--headless --seed 9 --record rec.replay --dump first.json"), 0) << Read("stderr.txt");
    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(Read("rec.replay"), replay, error)) << error;
    EXPECT_EQ(replay.seed, 9u);
    ASSERT_EQ(replay.events.size(), 1u);
    EXPECT_EQ(replay.events[0].type, ReplayEvent::Type::End);
    ASSERT_EQ(Run("--headless --replay rec.replay --dump again.json"), 0) << Read("stderr.txt");
    EXPECT_EQ(Read("first.json"), Read("again.json"));
    EXPECT_NE(Run("--headless --record no/such/folder/rec.replay"), 0);
    EXPECT_NE(Read("stderr.txt").find("no/such/folder/rec.replay"), std::string::npos);
}

TEST_F(HeadlessRunTest, RecordingNotesTheStoredStartAndItsReplayStartsThere) {
    fs::create_directories(Path("config/Marblequill/Pivotwarden"));
    Write("config/Marblequill/Pivotwarden/settings.reg",
          "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n"
          "\"score\"=\"500\"\n\"level\"=\"9\"\n\"auto\"=\"1\"\n");
    ASSERT_EQ(Run("--headless --seed 9 --record rec.replay --dump first.json"), 0) << Read("stderr.txt");
    EXPECT_NE(Read("rec.replay").find("seed 9\nscore 500\nlevel 9\nauto 1\n"), std::string::npos)
        << Read("rec.replay");
    ASSERT_EQ(Run("--headless --replay rec.replay --dump again.json"), 0) << Read("stderr.txt");
    EXPECT_NE(Read("again.json").find("\"level\": 9"), std::string::npos);
    EXPECT_EQ(Read("first.json"), Read("again.json"));
    Write("bad.replay", "pivotwarden-replay 1\nscore lots\n");
    EXPECT_NE(Run("--headless --replay bad.replay"), 0);
    EXPECT_NE(Read("stderr.txt").find("bad.replay: replay line 2"), std::string::npos) << Read("stderr.txt");
}

// Without a seed a replay plays on seed 0; without an end it plays on a
// second past its last event; a close at its end still dumps the last screen.
TEST_F(HeadlessRunTest, ReplaysWithoutSeedOrEndOrThatCloseEndTheSameEveryTime) {
    const std::string press = "at 1000 down 120 160\nat 1040 up 120 160\n";
    Write("plain.replay", "pivotwarden-replay 1\n" + press);
    Write("explicit.replay", "pivotwarden-replay 1\nseed 0\n" + press + "at 2040 end\n");
    Write("close.replay", "pivotwarden-replay 1\nseed 0\n" + press + "at 1500 down 228 12\nat 1500 end\n");
    ASSERT_EQ(Run("--headless --replay plain.replay --dump plain.json"), 0) << Read("stderr.txt");
    ASSERT_EQ(Run("--headless --replay explicit.replay --dump explicit.json"), 0) << Read("stderr.txt");
    ASSERT_EQ(Run("--headless --replay close.replay --dump close.json"), 0) << Read("stderr.txt");
    EXPECT_NE(Read("plain.json").find("\"screen\": \"game\""), std::string::npos);
    EXPECT_EQ(Read("plain.json"), Read("explicit.json"));
    EXPECT_EQ(Read("close.json"), Read("explicit.json"));
}

// A regular file is replaced whole, keeping its permissions; a link, a FIFO
// or a device is written in place; a failed write is reported with its reason.
TEST_F(HeadlessRunTest, OutputFilesAreReplacedOrWrittenInPlaceAndFailuresReported) {
    Write("still.replay", "pivotwarden-replay 1\nat 10 end\n");
    Write("old.json", "old");
    fs::permissions(Path("old.json"), fs::perms(0640));
    ASSERT_EQ(Run("--headless --replay still.replay --dump old.json"), 0) << Read("stderr.txt");
    EXPECT_NE(Read("old.json").find("\"screen\""), std::string::npos);
    EXPECT_EQ(fs::status(Path("old.json")).permissions(), fs::perms(0640));
    fs::create_symlink("old.json", Path("link.json"));
    ASSERT_EQ(Run("--headless --replay still.replay --dump link.json --screenshot link.json"), 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.json")));
    EXPECT_EQ(Read("old.json").substr(0, 1), "{") << "the dump, written last, through the link";

    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&]() { piped = Read("pipe"); });
    const int code = Run("--headless --replay still.replay --dump pipe");
    reader.join();
    EXPECT_EQ(code, 0);
    EXPECT_NE(piped.find("\"screen\""), std::string::npos);
    EXPECT_EQ(fs::status(Path("pipe")).type(), fs::file_type::fifo);

    for (const std::string option : {"--dump", "--screenshot", "--record", "--describe"}) {
        EXPECT_EQ(Run("--headless " + option + " /dev/full"), 2) << option;
        EXPECT_NE(Read("stderr.txt").find("/dev/full': No space left on device"), std::string::npos)
            << Read("stderr.txt");
    }
    EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_))
        files += entry.path().filename().string()[0] == '.';
    EXPECT_EQ(files, 0) << "no temporary file is left";
}

// Nothing at an output's path can hold the game for ever: a FIFO that no one
// reads is refused at once, as a pipe whose reader has gone is (and a reader
// that leaves midway is a failed write, not the end of the game). A link in a
// shared folder such as /tmp is followed only when it is the player's own.
TEST_F(HeadlessRunTest, OutputsNeverWaitForAReaderNorFollowAnotherUsersLink) {
    Write("still.replay", "pivotwarden-replay 1\nat 10 end\n");
    fs::create_directory(Path("tmp"));
    const std::string inTmp = "TMPDIR='" + Path("tmp") + "'";
    ASSERT_EQ(mkfifo(Path("unread").c_str(), 0600), 0);
    for (const std::string option :
         {"--replay still.replay --dump", "--replay still.replay --screenshot", "--seed 1 --record"}) {
        EXPECT_EQ(Run("--headless " + option + " unread", inTmp), 2) << option;
        EXPECT_NE(Read("stderr.txt").find("'unread': nothing is reading from it"), std::string::npos)
            << Read("stderr.txt");
        EXPECT_TRUE(fs::is_empty(Path("tmp"))) << "the replay's settings are removed";
    }

    // A screenshot is larger than the pipe holds; its reader takes five
    // bytes and leaves.
    for (const bool readsFirst : {false, true}) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        fcntl(pipeEnds[0], F_SETPIPE_SZ, 4096);
        const pid_t child = fork();
        if (child == 0) {
            dup2(pipeEnds[1], 1);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            setenv("TMPDIR", Path("tmp").c_str(), 1);
            if (freopen(Path("stderr.txt").c_str(), "w", stderr) == nullptr) _exit(126);
            execl(PW_EXECUTABLE, PW_EXECUTABLE, "--headless", "--replay", Path("still.replay").c_str(),
                  "--screenshot", "/dev/stdout", nullptr);
            _exit(127);
        }
        close(pipeEnds[1]);
        char five[5];
        if (readsFirst) {
            EXPECT_EQ(read(pipeEnds[0], five, sizeof five), 5);
        }
        close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << "status " << status;
        const std::string said = Read("stderr.txt");
        EXPECT_TRUE(said.find("'/dev/stdout': Broken pipe") != std::string::npos ||
                    (!readsFirst && said.find("'/dev/stdout': nothing is reading") != std::string::npos))
            << said;
        EXPECT_TRUE(fs::is_empty(Path("tmp")));
    }

    // Another user's link in a folder like /tmp, leading to the player's file.
    fs::create_directory(Path("shared"));
    fs::permissions(Path("shared"), fs::perms(01777));
    Write("precious.txt", "the player's");
    fs::create_symlink(Path("precious.txt"), Path("shared/theirs.json"));
    fs::create_symlink(Path("precious.txt"), Path("shared/mine.json"));
    if (lchown(Path("shared/theirs.json").c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    EXPECT_EQ(Run("--headless --replay still.replay --dump shared/theirs.json"), 2);
    EXPECT_NE(Read("stderr.txt").find("another user"), std::string::npos) << Read("stderr.txt");
    EXPECT_EQ(Read("precious.txt"), "the player's");
    EXPECT_TRUE(fs::is_symlink(Path("shared/theirs.json")));
    EXPECT_EQ(Run("--headless --replay still.replay --dump shared/mine.json"), 0) << Read("stderr.txt");
    EXPECT_EQ(Read("precious.txt").substr(0, 1), "{") << "the player's own link is followed";
}

// Stopped by a signal that would end it, a replay (whose private settings
// are held in memory) leaves nothing behind, in TMPDIR or among the player's
// settings, and ends by that signal.
TEST_F(HeadlessRunTest, AStoppedReplayLeavesNothingAndEndsByItsSignal) {
    Write("long.replay", "pivotwarden-replay 1\nat 10 down 120 160\nat 4000000000 end\n");
    fs::create_directory(Path("tmp"));
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGALRM}) {
        SCOPED_TRACE(strsignal(signal));
        const pid_t child = fork();
        if (child == 0) {
            setenv("TMPDIR", Path("tmp").c_str(), 1);
            setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
            execl(PW_EXECUTABLE, PW_EXECUTABLE, "--headless", "--replay", Path("long.replay").c_str(),
                  nullptr);
            _exit(127);
        }
        ASSERT_GT(child, 0);
        usleep(300000);  // well into the replay's passes
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(fs::is_empty(Path("tmp")));
        EXPECT_FALSE(fs::exists(Path("config"))) << "the player's settings are not touched";
    }
}

// Without a display the game says so in one line of its own, and says what
// happened when SDL was told to use a driver that shows nothing.
TEST_F(HeadlessRunTest, WithoutADisplayTheGameSaysWhyInOneLine) {
    EXPECT_EQ(Run("", "-u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER DISPLAY=:65000 WAYLAND_DISPLAY="), 2);
    EXPECT_EQ(Lines("stderr.txt"), 1) << Read("stderr.txt");
    EXPECT_EQ(Read("stderr.txt").rfind("pivotwarden: cannot start the window system: no display", 0), 0u)
        << Read("stderr.txt");
    EXPECT_EQ(Run("", "SDL_VIDEODRIVER=dummy"), 2);
    EXPECT_EQ(Lines("stderr.txt"), 1) << Read("stderr.txt");
    EXPECT_NE(Read("stderr.txt").find("'dummy', chosen by SDL_VIDEODRIVER"), std::string::npos)
        << Read("stderr.txt");
}

// What a player who listens hears of each game the docs show, as committed:
// a change in the wording or in what is told shows up here for review.
TEST_F(HeadlessRunTest, TheDocsReplaysAreDescribedAsCommitted) {
    const fs::path replays = fs::path(PW_SOURCE_DIR) / "docs/replays";
    int described = 0;
    for (const auto& entry : fs::directory_iterator(replays)) {
        if (entry.path().extension() != ".replay") continue;
        const std::string name = entry.path().stem().string();
        fs::remove_all(Path("config"));
        ASSERT_EQ(Run("--headless --replay '" + entry.path().string() + "' --describe said.txt"), 0)
            << Read("stderr.txt");
        std::ifstream in(fs::path(PW_SOURCE_DIR) / "tests/data/described" / (name + ".txt"),
                         std::ios::binary);
        std::stringstream expected;
        expected << in.rdbuf();
        EXPECT_EQ(Read("said.txt"), expected.str()) << name;
        ++described;
    }
    EXPECT_GE(described, 5);
}

TEST_F(HeadlessRunTest, VersionAndHelp) {
    EXPECT_EQ(Run("--version"), 0);
    EXPECT_NE(Read("stdout.txt").find("pivotwarden"), std::string::npos);
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Read("stdout.txt").find("--replay"), std::string::npos);
    EXPECT_NE(Read("stdout.txt").find("--describe FILE"), std::string::npos);
}

}  // namespace
}  // namespace pw
