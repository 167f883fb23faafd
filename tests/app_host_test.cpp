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

#include "howtoplay/FrameStream.h"
#include "app/HostOptions.h"
#include "howtoplay/HowToPlay.h"
#include "replay/Replay.h"
#include "platform/PngWriter.h"
#include "platform/VirtualClock.h"
#include "platform/headless/HeadlessWindow.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

namespace fs = std::filesystem;

TEST(HostOptionsTest, AcceptsEveryOptionInBothSpellings) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(ParseHostOptions(
        {"--scale", "3", "--seed=42", "--headless", "--replay", "r.txt", "--screenshot=s.png", "--dump",
         "d.json", "--fullscreen", "--describe=-", "--frames", "/dev/stdout", "--no-bar"},
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
    EXPECT_EQ(o.framesPath, "/dev/stdout");
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
        // Frames come only from a replay played headless.
        {{"--frames", "f"}, "--frames needs --headless and --replay"},
        {{"--headless", "--frames", "f"}, "--frames needs --headless and --replay"},
        {{"--replay", "r", "--frames", "f"}, "--frames needs --headless and --replay"},
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

// The frame stream taken in pieces of any size gives back what was sent; a
// stream that cannot be one (a wrong mark, an area off the display) or that
// stops within a frame is seen as such, and nothing after it is believed.
TEST(FrameStreamTest, ReadsWholeFramesAndSeesABrokenOrCutStream) {
    Surface picture(kDisplayWidth, kDisplayHeight);
    for (int y = 0; y < kDisplayHeight; ++y)
        for (int x = 0; x < kDisplayWidth; ++x) picture.Set(x, y, Rgb(x, y, x ^ y));
    const std::string first = EncodeFrame(5, picture, Rect{-3, 10, 4, 12});
    const std::string second = EncodeFrame(9, picture, Rect{230, 318, 300, 400});
    EXPECT_TRUE(EncodeFrame(1, picture, Rect{240, 0, 250, 10}).empty());

    FrameReader reader(kDisplayWidth, kDisplayHeight);
    const std::string stream = first + second;
    for (char c : stream) reader.Feed(&c, 1);
    Frame frame;
    ASSERT_TRUE(reader.Next(frame));
    EXPECT_EQ(frame.at, 5u);
    EXPECT_EQ(frame.area, (Rect{0, 10, 4, 12}));
    EXPECT_EQ(frame.pixels, (std::vector<Pixel>{picture.At(0, 10), picture.At(1, 10), picture.At(2, 10),
                                                picture.At(3, 10), picture.At(0, 11), picture.At(1, 11),
                                                picture.At(2, 11), picture.At(3, 11)}));
    ASSERT_TRUE(reader.Next(frame));
    EXPECT_EQ(frame.area, (Rect{230, 318, 240, 320}));
    EXPECT_EQ(frame.pixels.back(), picture.At(239, 319));
    EXPECT_FALSE(reader.Next(frame));
    EXPECT_FALSE(reader.HasPart());
    EXPECT_FALSE(reader.Broken());

    FrameReader cut(kDisplayWidth, kDisplayHeight);
    cut.Feed(first.data(), first.size() - 1);
    EXPECT_FALSE(cut.Next(frame));
    EXPECT_TRUE(cut.HasPart());
    EXPECT_FALSE(cut.Broken());

    std::string wrongMark = first;
    wrongMark[0] = 'X';
    std::string offDisplay = second;
    const int32_t right = kDisplayWidth + 1;
    std::memcpy(&offDisplay[4 + 4 + 4 + 4], &right, sizeof right);
    for (const std::string& bad : {wrongMark + second, first + offDisplay}) {
        FrameReader broken(kDisplayWidth, kDisplayHeight);
        broken.Feed(bad.data(), bad.size());
        while (broken.Next(frame)) {
        }
        EXPECT_TRUE(broken.Broken());
        broken.Feed(second.data(), second.size());
        EXPECT_FALSE(broken.Next(frame)) << "nothing after a broken record is believed";
    }
}

// How to play's game as a test gives it: at every start, the same bytes
// handed out in turns, then the end of the stream.
class ScriptedGame : public DemoProcess {
public:
    bool Start(const std::string& recording, std::string&) override {
        started.push_back(recording);
        pieces = script;
        running = true;
        return true;
    }
    Read ReadSome(std::string& out) override {
        if (!running || pieces.empty()) return running && !endAfterPieces ? Read::Nothing : Read::Ended;
        out += pieces.front();
        pieces.erase(pieces.begin());
        return Read::Some;
    }
    void Stop() override {
        running = false;
        ++stops;
    }
    std::vector<std::string> started;
    std::vector<std::string> script, pieces;
    bool endAfterPieces = true;
    bool running = false;
    int stops = 0;
};

// A window that notes what How to play shows in it instead of its own.
class NotingWindow : public HeadlessWindow {
public:
    void ShowInstead(const Surface* picture, const Rect&) override {
        instead = picture;
        if (picture != nullptr) ++shownFrames;
    }
    void ShowHand(bool shown, int x, int y, bool down) override { hands.push_back({shown, x, y, down}); }
    void ShowCaption(const std::string& text) override { captions.push_back(text); }
    struct Hand {
        bool shown;
        int x, y;
        bool down;
    };
    const Surface* instead = nullptr;
    int shownFrames = 0;
    std::vector<Hand> hands;
    std::vector<std::string> captions;
};

// Played to its end, cut short by a broken stream or a game that shows nothing,
// or ended by a key or a close: How to play always gives the window its own
// picture back, with no hand and no caption, and never leaves its game running;
// a close is passed on to the player's game.
TEST(HowToPlayTest, EndsCleanlyHoweverItEnds) {
    const std::string recording =
        "pivotwarden-replay 1\nseed 1\nat 100 down 20 30\nat 140 move 60 70\nat 160 up 60 70\nat 400 end\n";
    Surface picture(kDisplayWidth, kDisplayHeight);
    const std::string frame = EncodeFrame(0, picture, Rect{0, 0, kDisplayWidth, kDisplayHeight});
    struct Case {
        std::string name;
        std::vector<std::string> pieces;
        std::function<void(HeadlessWindow&, uint32_t now)> input;
        bool played, problem, destroyPassedOn;
    };
    const std::vector<Case> cases = {
        {"played", {frame, frame.substr(0, 9), frame.substr(9)}, nullptr, true, false, false},
        {"broken", {frame, "PWF2 and the rest"}, nullptr, false, true, false},
        {"cut short", {frame, frame.substr(0, 40)}, nullptr, false, true, false},
        {"nothing shown", {}, nullptr, false, true, false},
        {"key",
         {frame},
         [](HeadlessWindow& w, uint32_t now) {
             if (now == 200) w.Post(WindowEvent{WindowEvent::Type::KeyDown, 0, 0, false, Key::Enter});
         },
         false,
         false,
         false},
        {"close",
         {frame},
         [](HeadlessWindow& w, uint32_t now) {
             if (now == 200) w.PostDestroy();
         },
         false,
         false,
         true},
    };
    for (const Case& c : cases) {
        NotingWindow window;
        VirtualClock clock;
        ScriptedGame game;
        game.script = c.pieces;
        game.endAfterPieces = c.input == nullptr;
        bool destroyed = false;
        window.onWait = [&](uint32_t ms) {
            clock.now += ms;
            if (c.input) c.input(window, clock.now);
        };
        HowToPlay show(window, clock, game);
        show.Run({{recording, "one", "two"}, {recording, "three", "four"}});
        EXPECT_EQ(game.started.size(), c.played ? 2u : 1u) << c.name;
        EXPECT_FALSE(game.running) << c.name;
        EXPECT_EQ(window.instead, nullptr) << c.name;
        EXPECT_EQ(window.shownFrames >= 1, !c.pieces.empty()) << c.name;
        ASSERT_FALSE(window.hands.empty()) << c.name;
        EXPECT_FALSE(window.hands.back().shown) << c.name;
        ASSERT_FALSE(window.captions.empty()) << c.name;
        EXPECT_EQ(window.captions.back(), "") << c.name;
        EXPECT_EQ(!show.Problem().empty(), c.problem) << c.name << ": " << show.Problem();
        WindowEvent left;
        while (window.PollEvent(left)) destroyed = destroyed || left.type == WindowEvent::Type::Destroy;
        EXPECT_EQ(destroyed, c.destroyPassedOn) << c.name;
        if (c.played) {
            // The hand followed the recording at a person's pace, pressing
            // while down, and the caption moved on after the drag.
            EXPECT_EQ(window.captions, (std::vector<std::string>{"one", "two", "three", "four", ""}));
            EXPECT_TRUE(window.hands[0].shown && window.hands[0].down);
            EXPECT_EQ(window.hands[0].x, 20);
            EXPECT_FALSE(window.hands[2].down);
            EXPECT_GE(clock.now, 2 * (400 * HowToPlay::kSlowerTimesTwo / 2 + HowToPlay::kBetweenMs));
        }
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

// The frames a replay sends, laid one over the other in order, make the
// picture it ends on, and come in the order of their virtual time.
TEST_F(HeadlessRunTest, TheFramesOfAReplayMakeItsLastPicture) {
    Write(
        "drag.replay",
        "pivotwarden-replay 1\nseed 99\nat 1000 down 100 100\nat 1030 up 100 100\n"
        "at 1500 down 60 295\nat 1520 move 100 240\nat 1540 move 180 130\nat 1560 up 180 130\nat 2600 end\n");
    ASSERT_EQ(Run("--headless --replay drag.replay --frames frames.bin --screenshot last.png"), 0)
        << Read("stderr.txt");
    const std::string stream = Read("frames.bin");
    FrameReader reader(kDisplayWidth, kDisplayHeight);
    reader.Feed(stream.data(), stream.size());
    Surface picture(kDisplayWidth, kDisplayHeight);
    Frame frame;
    uint32_t last = 0;
    int frames = 0;
    while (reader.Next(frame)) {
        EXPECT_GE(frame.at, last);
        last = frame.at;
        ++frames;
        const int width = frame.area.right - frame.area.left;
        for (int y = frame.area.top; y < frame.area.bottom; ++y)
            for (int x = frame.area.left; x < frame.area.right; ++x)
                picture.Set(
                    x, y,
                    frame.pixels[static_cast<size_t>((y - frame.area.top) * width + x - frame.area.left)]);
    }
    EXPECT_FALSE(reader.Broken());
    EXPECT_FALSE(reader.HasPart());
    EXPECT_GE(frames, 2);  // the title, then the game
    EXPECT_LE(last, 2600u);
    const std::vector<uint8_t> png = EncodePng(picture);
    EXPECT_EQ(std::string(png.begin(), png.end()), Read("last.png"));
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
