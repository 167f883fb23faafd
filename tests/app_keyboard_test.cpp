// Keyboard play through the real main loop: whole puzzles played by keys end
// exactly as the same puzzles played by stylus, a recording of keyboard play
// replays to the same end, and the sound switch is kept between runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "app/MainLoop.h"
#include "dump/SceneDump.h"
#include "game/GameScreen.h"
#include "keys/KeyTargets.h"
#include "narration/Narration.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/posix/OutputFile.h"
#include "replay/Replay.h"
#include "resources/ResourceIds.h"
#include "tools/autoplay/PuzzleSolver.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

constexpr uint32_t kSeed = 4242;
constexpr uint32_t kGapMs = 60;
// Long enough for the flash of a level scale and what follows it.
constexpr uint32_t kSettleMs = 2500;

WindowEvent KeyPress(Key key, bool shift = false) {
    WindowEvent e;
    e.type = WindowEvent::Type::KeyDown;
    e.key = key;
    e.shift = shift;
    return e;
}

struct Step {
    uint32_t afterMs;
    WindowEvent event;
};
using Script = std::vector<Step>;

// A window whose messages come from a script on the virtual clock, one
// millisecond per look at the queue; when the script has run out and the game
// has settled, it reports and then asks to close.
class ScriptedWindow : public HeadlessWindow {
public:
    ScriptedWindow(VirtualClock& clock, Script script, std::function<void()> atEnd)
        : clock_(clock), script_(std::move(script)), atEnd_(std::move(atEnd)), due_(1000) {}

    bool PollEvent(WindowEvent& event) override {
        // Counted apart from the clock, which may start anywhere, even just
        // before its wrap.
        ++clock_.now;
        ++elapsed_;
        if (HeadlessWindow::PollEvent(event)) return true;
        if (next_ < script_.size() && elapsed_ >= due_ + script_[next_].afterMs) {
            due_ = elapsed_;
            event = script_[next_++].event;
            return true;
        }
        if (next_ < script_.size() || elapsed_ < due_ + kSettleMs) return false;
        if (atEnd_) std::exchange(atEnd_, nullptr)();
        event.type = WindowEvent::Type::Destroy;
        return true;
    }
    bool WaitEvent(WindowEvent& event, uint32_t) override { return PollEvent(event); }
    // A bar beside the picture, as the desktop window has, when asked for.
    bool HasBar() const override { return hasBar; }
    void FocusBarControl(BarControl control) override { barFocus.push_back(control); }
    bool hasBar = false;
    std::vector<BarControl> barFocus;

private:
    VirtualClock& clock_;
    Script script_;
    std::function<void()> atEnd_;
    uint32_t due_;
    uint32_t elapsed_ = 0;
    size_t next_ = 0;
};

struct Outcome {
    std::string dump;
    std::vector<Pixel> picture;
    std::vector<int> sounds;
    Rect lastRing;
    std::vector<BarControl> barFocus;
    std::string recording;
    std::vector<std::string> said;  // the spoken descriptions, line by line
};

class KeyboardPlayTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(SettingsFile().parent_path()); }

    std::filesystem::path SettingsFile() const {
        return std::filesystem::path(config_.path) / "Marblequill/Pivotwarden/settings.reg";
    }
    void WriteSettings(const std::string& values) const {
        std::ofstream(SettingsFile()) << "Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n"
                                      << values;
    }
    std::string ReadSettings() const {
        std::stringstream s;
        s << std::ifstream(SettingsFile()).rdbuf();
        return s.str();
    }

    // Plays the script live on a copy of the settings as they are now, the
    // clock starting at clockStart.
    Outcome Play(const Script& script, bool record = false, uint32_t clockStart = 0, bool bar = false) {
        TempFolder config;
        std::filesystem::copy(config_.path, config.path, std::filesystem::copy_options::recursive);
        HeadlessPlatform hp(config.path);
        hp.clock.now = clockStart;
        Outcome out;
        MainLoop* running = nullptr;
        ScriptedWindow* shown = nullptr;
        ScriptedWindow window(hp.clock, script, [&] {
            out.dump = DumpScene(Application::ViewOf(running->App(), hp.registry));
            out.picture = shown->Shown().Pixels();
            out.lastRing = shown->focusRing;
        });
        shown = &window;
        window.hasBar = bar;
        Platform platform{window, hp.resources, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
        MainLoop loop(platform);
        running = &loop;
        Narration narration([&out](const std::string& line) { out.said.push_back(line); });
        loop.Watch(&narration);
        OutputFile file;
        ReplayRecorder recorder(file);
        const std::string path = config.path + "/keys.replay";
        std::string error;
        loop.Start(kSeed);
        if (record) {
            ReplayHeader start;
            start.seed = loop.Seed();
            EXPECT_TRUE(recorder.Open(path, start, error)) << error;
        }
        loop.RunLive(record ? &recorder : nullptr);
        out.sounds = hp.sound.played;
        out.barFocus = window.barFocus;
        if (record) {
            std::stringstream s;
            s << std::ifstream(path).rdbuf();
            out.recording = s.str();
        }
        return out;
    }

    // The first puzzle on the current settings, as the player would see it.
    struct Board {
        int32_t trayIndex = 0;
        bool leftPan = true;
        Point weight, button0;
        int32_t hidden = 0;
    };
    Board FirstPuzzle() {
        TempFolder config;
        std::filesystem::copy(config_.path, config.path, std::filesystem::copy_options::recursive);
        HeadlessPlatform hp(config.path);
        MainLoop loop(hp.Get());
        loop.Start(kSeed);
        GameScreen& game = loop.App()->Game();
        std::vector<int32_t> left, right, tray;
        std::vector<Weight*> trayWeights;
        for (auto* n = game.levelWeights.head; n != nullptr; n = n->next) {
            Weight* w = n->item;
            if (game.leftPan.Contains(w)) left.push_back(w->initialValue);
            if (game.rightPan.Contains(w)) right.push_back(w->initialValue);
            if (w->bitmapId != res::kGreyWeight) trayWeights.push_back(w), tray.push_back(w->value);
        }
        const PuzzleSolution solution = PuzzleSolver::Solve(left, right, tray);
        EXPECT_TRUE(solution.found && solution.placements.size() == 1) << "a puzzle solved by one weight";
        Board b;
        b.trayIndex = solution.placements.at(0).trayIndex;
        b.leftPan = solution.placements.at(0).pan == PanSide::Left;
        const Weight& weight = *trayWeights.at(static_cast<size_t>(b.trayIndex));
        b.weight = Point{weight.GetX() + weight.GetWidth() / 2, weight.GetY() + weight.GetHeight() / 2};
        GameView view;
        game.FillView(view);
        b.button0 = KeyTargets::Centre(*view.Find(Control::Digit0));
        if (game.pendingWeight != nullptr) b.hidden = game.pendingWeight->initialValue;
        return b;
    }

    static void Keys(Script& s, std::initializer_list<Key> keys) {
        for (Key k : keys) s.push_back({kGapMs, KeyPress(k)});
    }
    static void Tap(Script& s, Point at) {
        s.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenDown, at)});
        s.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenUp, at)});
    }
    // From the ring on the first tray weight; the tray reads left to right.
    static void SolveByKeys(Script& s, const Board& b) {
        for (int i = 0; i < b.trayIndex; ++i) Keys(s, {Key::Right});
        Keys(s, {Key::Enter, b.leftPan ? Key::Left : Key::Right, Key::Enter});
        s.push_back({kSettleMs, KeyPress(Key::None)});
    }
    static void SolveByStylus(Script& s, const Board& b) {
        const Point pan{b.leftPan ? 50 : 190, 135};
        s.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenDown, b.weight)});
        s.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenMove, pan)});
        s.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenUp, pan)});
        s.push_back({kSettleMs, KeyPress(Key::None)});
    }
    static Point Digit(const Board& b, int d) {
        return Point{b.button0.x + 30 * (d % 5), b.button0.y + 30 * (d / 5)};
    }

    TempFolder config_;
};

// The dump at the end of a recording played back.
std::string Replayed(const std::string& recording) {
    Replay replay;
    std::string error;
    if (!ParseReplay(recording, replay, error)) return error + "\n" + recording;
    TempFolder fresh;
    HeadlessPlatform hp(fresh.path);
    MainLoop loop(hp.Get());
    loop.Start(replay.seed);
    loop.RunReplay(replay, hp.clock);
    return loop.App() != nullptr ? DumpScene(Application::ViewOf(loop.App(), hp.registry))
                                 : "the replay closed the game";
}

int StoredValue(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\": ");
    return at == std::string::npos ? -1 : std::atoi(dump.c_str() + at + name.size() + 4);
}

TEST_F(KeyboardPlayTest, AShownNumberPuzzleByKeysEndsAsByStylusAndItsRecordingReplaysThere) {
    const Board board = FirstPuzzle();
    Script keys, stylus;
    // A detour first: carried over both pans and put back where it lay.
    Keys(keys, {Key::Enter, Key::Enter, Key::Left, Key::Right, Key::Right, Key::Right, Key::Escape});
    SolveByKeys(keys, board);
    Tap(stylus, Point{120, 160});
    const Point first{30, 295};
    stylus.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenDown, first)});
    for (Point p : {Point{50, 135}, first, Point{190, 135}, first})
        stylus.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenMove, p)});
    stylus.push_back({kGapMs, KeyTargets::Stylus(WindowEvent::Type::PenUp, first)});
    SolveByStylus(stylus, board);

    const Outcome byKeys = Play(keys, true);
    const Outcome byStylus = Play(stylus);
    EXPECT_EQ(StoredValue(byKeys.dump, "score"), 48) << "balanced and answered at par";
    EXPECT_EQ(byKeys.dump, byStylus.dump);
    EXPECT_EQ(byKeys.picture, byStylus.picture) << "the ring is never part of the picture";
    EXPECT_EQ(byKeys.sounds, byStylus.sounds);

    EXPECT_EQ(Replayed(byKeys.recording), byKeys.dump);

    // A tap on the weight rings it without moving anything; a tap on the pan
    // then carries it there as a drag would, and that drag is what is
    // recorded.
    Script taps;
    Tap(taps, Point{120, 160});
    Tap(taps, board.weight);
    taps.push_back({kSettleMs, KeyPress(Key::None)});
    const Outcome ringed = Play(taps);
    EXPECT_EQ(StoredValue(ringed.dump, "score"), 0);
    EXPECT_EQ(ringed.lastRing.right - ringed.lastRing.left, 20) << "the tapped weight is ringed";
    taps.pop_back();
    Tap(taps, Point{board.leftPan ? 50 : 190, 135});
    taps.push_back({kSettleMs, KeyPress(Key::None)});
    const Outcome byTaps = Play(taps, true);
    EXPECT_EQ(byTaps.dump, byStylus.dump);
    EXPECT_EQ(Replayed(byTaps.recording), byTaps.dump);
    EXPECT_EQ(byTaps.recording.find(" down " + std::to_string(board.weight.x)),
              byTaps.recording.rfind(" down "))
        << "the tap that rang the weight never reached the game";

    // Played while the millisecond counter wraps, the same game records a
    // replay that plays to the same end.
    const Outcome wrapped = Play(keys, true, 0xFFFFFFFFu - 1500);
    EXPECT_EQ(wrapped.dump, byKeys.dump);
    EXPECT_EQ(Replayed(wrapped.recording), byKeys.dump);
}

TEST_F(KeyboardPlayTest, AHiddenNumberIsTypedAndCorrectedOnTheKeypadAsByStylus) {
    WriteSettings("\"level\"=\"10\"\n");
    const Board board = FirstPuzzle();
    ASSERT_GT(board.hidden, 0);
    const int wrong = board.hidden % 9 + 1;
    Script keys, stylus;
    Keys(keys, {Key::Space});
    SolveByKeys(keys, board);
    Keys(keys, {static_cast<Key>(static_cast<int>(Key::Digit0) + wrong), Key::Backspace});
    Tap(stylus, Point{120, 160});
    SolveByStylus(stylus, board);
    Tap(stylus, Digit(board, wrong));
    Tap(stylus, Point{225, 305});  // the bin
    for (char c : std::to_string(board.hidden)) {
        Keys(keys, {static_cast<Key>(static_cast<int>(Key::Digit0) + (c - '0'))});
        Tap(stylus, Digit(board, c - '0'));
    }
    keys.push_back({kSettleMs, KeyPress(Key::None)});
    stylus.push_back({kSettleMs, KeyPress(Key::None)});

    const Outcome byKeys = Play(keys);
    const Outcome byStylus = Play(stylus);
    EXPECT_GT(StoredValue(byKeys.dump, "score"), 0);
    EXPECT_EQ(byKeys.dump, byStylus.dump);
    EXPECT_EQ(byKeys.sounds, byStylus.sounds);
}

TEST_F(KeyboardPlayTest, TheOptionsPanelChangesLevelAndLevellingByKeysAsByStylus) {
    Script keys, stylus;
    Keys(keys,
         {Key::Enter, Key::O, Key::Up, Key::Up, Key::Up, Key::Down, Key::A, Key::R, Key::R, Key::Enter});
    Tap(stylus, Point{120, 160});
    for (Point p : {Point{15, 15}, Point{16, 117}, Point{16, 117}, Point{16, 117}, Point{41, 117},
                    Point{30, 140}, Point{30, 160}, Point{30, 160}, Point{205, 175}})
        Tap(stylus, p);
    stylus.push_back({kSettleMs, KeyPress(Key::None)});
    keys.push_back({kSettleMs, KeyPress(Key::None)});

    const Outcome byKeys = Play(keys);
    const Outcome byStylus = Play(stylus);
    EXPECT_EQ(StoredValue(byKeys.dump, "level"), 3);
    EXPECT_NE(byKeys.dump.find("\"auto\": false"), std::string::npos) << "automatic levelling off";
    EXPECT_EQ(byKeys.dump, byStylus.dump);
    EXPECT_EQ(byKeys.sounds, byStylus.sounds);
    // Each control told with its state, by keys as by stylus (the ring,
    // which only keys bring, aside).
    EXPECT_EQ(std::vector<std::string>(byKeys.said.begin() + 2, byKeys.said.end() - 2),
              std::vector<std::string>(byStylus.said.begin() + 2, byStylus.said.end() - 2));
    const std::vector<std::string> panel(byKeys.said.begin() + 2, byKeys.said.end() - 1);
    ASSERT_EQ(panel.size(), 9u);
    EXPECT_EQ(panel[0].rfind("Options: level 1, automatic leveling on, reset score off. ", 0), 0u)
        << panel[0];
    EXPECT_EQ(std::vector<std::string>(panel.begin() + 1, panel.end() - 1),
              (std::vector<std::string>{"Level 2.", "Level 3.", "Level 4.", "Level 3.",
                                        "Automatic leveling off.", "Reset score on.", "Reset score off."}));
    EXPECT_EQ(panel[8].rfind("Options closed. New puzzle, level 3. ", 0), 0u) << panel[8];
    EXPECT_EQ(byKeys.said.back(), "The game has ended.");
}

TEST_F(KeyboardPlayTest, KeysWithNothingToActOnDoNothingAndTheRingFollowsItsWeight) {
    Script idle;
    Tap(idle, Point{120, 160});
    // No keypad, no panel, no weight held: none of these has anything to do;
    // the first arrow only brings the ring.
    Keys(idle, {Key::Digit5, Key::H, Key::Backspace, Key::Up, Key::A, Key::R, Key::Escape, Key::Right});
    Script still;
    Tap(still, Point{120, 160});
    const Outcome a = Play(idle);
    const Outcome b = Play(still);
    EXPECT_EQ(a.dump, b.dump);
    EXPECT_EQ(a.sounds, b.sounds);
    EXPECT_EQ(a.lastRing, (Rect{20, 280, 40, 310})) << "on the first tray weight";
    EXPECT_EQ(b.lastRing, Rect{}) << "no ring without a key";

    // A pointer press hides the ring; it puts a carried weight back first.
    Script mixed = still;
    Keys(mixed, {Key::Right, Key::Enter, Key::Right});
    Tap(mixed, Point{120, 60});
    const Outcome m = Play(mixed);
    EXPECT_EQ(m.lastRing, Rect{});
    EXPECT_EQ(StoredValue(m.dump, "score"), 0);
    EXPECT_NE(m.dump.find("\"x\": 20, \"y\": 280, \"width\": 20, \"height\": 30, \"layer\": 20"),
              std::string::npos)
        << m.dump;
}

// No trap: Tab past the last weight goes on to the window's bar, through its
// controls and back into the game; Enter there acts as the control's key.
TEST_F(KeyboardPlayTest, TabGoesFromTheWeightsThroughTheBarAndBack) {
    Script keys;
    Keys(keys, {Key::Space});
    for (int i = 0; i < 7; ++i) Keys(keys, {Key::Tab});  // the ring's 7 tray weights, then the bar
    Keys(keys, {Key::Tab, Key::Tab, Key::Tab});          // How to play, Progress, back to the first weight
    const Outcome there = Play(keys, false, 0, true);
    EXPECT_EQ(there.barFocus, (std::vector<BarControl>{BarControl::Sound, BarControl::HowToPlay,
                                                       BarControl::Progress, BarControl::None}));
    EXPECT_EQ(there.lastRing, (Rect{20, 280, 40, 310})) << "back on the first tray weight";

    // Shift+Tab from the first weight goes to the bar's last control; Enter
    // on Sound mutes as M does.
    Script back;
    Keys(back, {Key::Space});
    back.push_back({kGapMs, KeyPress(Key::Tab, true)});
    back.push_back({kGapMs, KeyPress(Key::Tab, true)});
    back.push_back({kGapMs, KeyPress(Key::Tab, true)});
    Script unmuted = back;
    Keys(back, {Key::Enter});
    // Escape leaves the bar; the weight then picked up is heard only unmuted.
    for (Script* s : {&back, &unmuted}) Keys(*s, {Key::Escape, Key::Enter, Key::Enter});
    const Outcome muted = Play(back, false, 0, true);
    EXPECT_EQ(muted.barFocus, (std::vector<BarControl>{BarControl::Progress, BarControl::HowToPlay,
                                                       BarControl::Sound, BarControl::None}));
    EXPECT_LT(muted.sounds.size(), Play(unmuted, false, 0, true).sounds.size());

    // Without a bar Tab goes round the weights as before.
    EXPECT_TRUE(Play(keys).barFocus.empty());
}

TEST_F(KeyboardPlayTest, MutingIsKeptAndOlderSettingsWithoutItPlaySound) {
    WriteSettings("\"score\"=\"48\"\n\"level\"=\"2\"\n");
    Script nothing;
    nothing.push_back({kGapMs, KeyPress(Key::None)});
    const Outcome older = Play(nothing);
    EXPECT_FALSE(older.sounds.empty()) << "no \"sound\" value: sound on";

    // M mutes: the start sound of the next run stays silent, and so does play.
    // The window's bar is told the set's level and the switch, each change once.
    {
        struct BarWindow : HeadlessWindow {
            std::vector<std::string> shown;
            void ShowStatus(const std::string& place, bool soundOn) override {
                shown.push_back(place + (soundOn ? ", sound on" : ", sound off"));
            }
        } window;
        HeadlessPlatform hp(config_.path);
        Platform platform{window, hp.resources, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
        MainLoop loop(platform);
        loop.Start(kSeed);
        loop.FeedStatus(4711);
        hp.sound.played.clear();
        loop.HandleMessage(KeyPress(Key::M));
        loop.HandleMessage(KeyTargets::Stylus(WindowEvent::Type::PenDown, Point{120, 160}));
        EXPECT_TRUE(hp.sound.played.empty());
        EXPECT_EQ(window.shown, (std::vector<std::string>{"Set 4711 \u00B7 level 2, sound on",
                                                          "Set 4711 \u00B7 level 2, sound off"}));
    }
    EXPECT_NE(ReadSettings().find("\"sound\"=\"0\""), std::string::npos);
    EXPECT_NE(ReadSettings().find("\"score\"=\"48\""), std::string::npos) << "the other values stay";
    const Outcome muted = Play(nothing);
    EXPECT_TRUE(muted.sounds.empty());
    Script unmute;
    Keys(unmute, {Key::M, Key::Enter});
    EXPECT_FALSE(Play(unmute).sounds.empty());
}

// What a player who cannot see the screen hears: the same puzzle by keys,
// told as it goes, and the hidden number never said before it is typed.
TEST_F(KeyboardPlayTest, AHiddenNumberPuzzleByKeysIsToldAsItGoes) {
    WriteSettings("\"level\"=\"10\"\n");
    const Board board = FirstPuzzle();
    ASSERT_GT(board.hidden, 0);
    const int wrong = board.hidden % 9 + 1;
    Script keys;
    // A digit before the keypad opens, and a key that means nothing while
    // a weight is carried, are answered rather than dropped in silence.
    Keys(keys, {Key::Space, Key::Digit3, Key::Enter, Key::Up, Key::Escape});
    SolveByKeys(keys, board);
    Keys(keys, {static_cast<Key>(static_cast<int>(Key::Digit0) + wrong), Key::Backspace, Key::B});
    for (char c : std::to_string(board.hidden))
        Keys(keys, {static_cast<Key>(static_cast<int>(Key::Digit0) + (c - '0'))});
    keys.push_back({kSettleMs, KeyPress(Key::None)});
    const Outcome out = Play(keys);

    const std::string h = std::to_string(board.hidden), w = std::to_string(wrong);
    const std::string pan = board.leftPan ? "left pan" : "right pan";
    auto sides = [&](const std::string& grey) {
        return board.leftPan ? "Left " + h + ", right " + grey + "." : "Left " + grey + ", right " + h + ".";
    };
    // Each expected line in order, others (the ring's moves) between them.
    const std::vector<std::string> expected = {
        "Pivotwarden, a balance puzzle. Press Enter to play.",
        "New puzzle, level 10. ",
        "The keypad is not open yet",
        "You are carrying a weight",
        "Picked up " + h + ".",
        h + " over the " + pan + ".",
        h + " on the " + pan + ". " + sides("hidden") + " Balanced.",
        "Type the hidden number.",
        "Grey weight shows " + w + ". " + sides(w),
        "Grey weight cleared. " + sides("hidden") + " The scale is level.",
        "Level 10, score 24. ",
        "Grey weight shows " + h + ". " + sides(h) + " Balanced.",
        "36 points: 24 for balancing, 12 for the answer, score 36. New puzzle, level 10. ",
        "The game has ended.",
    };
    size_t at = 0;
    for (const std::string& want : expected) {
        while (at < out.said.size() && out.said[at].rfind(want, 0) != 0) ++at;
        ASSERT_LT(at, out.said.size()) << "never said, in order: " << want;
        // Until it is typed, the hidden number is never the grey weight's.
        if (want.rfind("Grey weight shows " + h, 0) != 0) {
            EXPECT_EQ(out.said[at].find("grey " + h), std::string::npos) << out.said[at];
        }
    }
    EXPECT_NE(out.said[1].find("grey, number hidden"), std::string::npos) << out.said[1];
    const std::string whole = *std::find_if(out.said.begin(), out.said.end(), [](const std::string& line) {
        return line.rfind("Level 10, score 24. ", 0) == 0;
    });
    EXPECT_NE(whole.find("grey, number hidden"), std::string::npos) << whole;
    EXPECT_NE(whole.find("Type the hidden number."), std::string::npos) << whole;
    // The ring is told as it moves over the tray, one weight a key.
    EXPECT_EQ(std::count_if(out.said.begin(), out.said.end(),
                            [](const std::string& line) { return line.rfind("Yellow ", 0) == 0; }),
              board.trayIndex);
}

}  // namespace
}  // namespace pw
