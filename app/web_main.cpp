// Pivotwarden in the browser. The page starts the game once this tab holds
// the game's lock, hands it the player's presses and calls for replays; the
// browser owns the loop and runs it in animation frames only while something
// happens, so an idle page costs nothing. The player's game, How to play's
// and the replays are separate games in the page's one WebAssembly
// instance, each on platform pieces of its own: only the player's reaches
// the browser's storage and sound.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "keys/KeyTargets.h"
#include "narration/Narration.h"
#include "platform/AtlasTextRenderer.h"
#include "platform/EmbeddedResourceStore.h"
#include "platform/KeyCodes.h"
#include "platform/SystemServices.h"
#include "platform/TextRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/web/AnimationFrames.h"
#include "platform/web/IndexedDbHistory.h"
#include "platform/web/LocalStorage.h"
#include "platform/web/PageContract.h"
#include "platform/web/PageSpeech.h"
#include "platform/web/WebSoundPlayer.h"
#include "platform/web/WebWindow.h"
#include "replay/Replay.h"
#include "replay/ReplaySettings.h"
#include "resources/EmbeddedResources.h"
#include "results/ProgressPage.h"
#include "results/PuzzleSet.h"
#include "results/PuzzleTracker.h"
#include "results/ResultsHistory.h"
#include "scene/Figure.h"
#include "settings/SettingsStore.h"
#include "sound/SoundSwitch.h"
#include "title/TitleScreen.h"

namespace {

// Problems the player cannot act on go to the browser's console.
void SayOnConsole(const std::string& message) { std::fprintf(stderr, "pivotwarden: %s\n", message.c_str()); }

// What a game keeps of its puzzles: the player's own game and a puzzle set
// played by the player add rows to the results history (a set's carry its
// name); a game only shown keeps nothing.
struct Results {
    bool kept = false;
    std::string set;
};

// The game's settings storage, noting each write, so that what the page
// shows of the stored settings is read again only after one.
class NotedStorage : public pw::TextStorage {
public:
    explicit NotedStorage(pw::TextStorage& stored) : stored_(stored) {}
    bool Prepare(const std::string& name) override { return stored_.Prepare(name); }
    Loaded Load(const std::string& name, size_t limit) override { return stored_.Load(name, limit); }
    bool Save(const std::string& name, const std::string& bytes, std::string& reason) override {
        const bool saved = stored_.Save(name, bytes, reason);
        written = written || saved;
        return saved;
    }
    std::string Where(const std::string& name) const override { return stored_.Where(name); }
    bool written = true;  // read at first

private:
    pw::TextStorage& stored_;
};

// A stored setting's value as the game reads it: a number from lowest to
// highest, anything else (missing, no number, out of range) lowest.
int StoredNumber(pw::Registry& registry, const char* name, int lowest, int highest) {
    std::unique_ptr<pw::RegistryKey> key = registry.CreateKey(pw::SettingsStore::kKeyPath);
    std::string text;
    if (!key || !key->ReadValue(name, text, pw::SettingsStore::kTextBufferChars)) return lowest;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() || value < lowest || value > highest ? lowest : static_cast<int>(value);
}

// What the page shows of the player's game beside it (the caption, the
// level, the sound button, the set's line, How to play on a first visit),
// told through one call whenever it changes, instead of the page reading
// the game's dump or the stored text.
class PageTold {
public:
    PageTold(pw::Registry& registry, std::string set, bool fresh)
        : registry_(registry), set_(std::move(set)), fresh_(fresh) {}

    void Tell(const pw::Application& app, NotedStorage& settings) {
        const char* screen = app.current == app.titleScreen.get() ? "title" : "game";
        if (settings.written) {
            settings.written = false;
            level_ = StoredNumber(registry_, "level", pw::SettingsStore::kLowestLevel,
                                  pw::SettingsStore::kHighestLevel);
            // A missing sound is on: only a stored "0" mutes it.
            std::unique_ptr<pw::RegistryKey> key = registry_.CreateKey(pw::SettingsStore::kKeyPath);
            std::string text;
            soundOn_ =
                !(key &&
                  key->ReadValue(pw::SoundSwitch::kValueName, text, pw::SettingsStore::kTextBufferChars) &&
                  text == "0");
        }
        const std::string now =
            std::string(screen) + "/" + std::to_string(level_) + "/" + (soundOn_ ? "1" : "0");
        if (now == last_) return;
        last_ = now;
        pw_told(screen, level_, soundOn_ ? 1 : 0, set_.c_str(), fresh_ ? 1 : 0);
    }

private:
    pw::Registry& registry_;
    std::string set_;
    bool fresh_;
    int level_ = pw::SettingsStore::kLowestLevel;
    bool soundOn_ = true;
    std::string last_;
};

// The game the player plays, on the page's canvas, sound and the browser's
// storage; or, with a replay's start, a game on private settings in memory
// holding just the replay's stored values: a puzzle set the player plays, or
// How to play's game, silent, whose stylus the page presses.
class BrowserGame {
public:
    BrowserGame(pw::PageView view, std::optional<uint32_t> seed,
                const pw::ReplayHeader* privateStart = nullptr, const Results& results = Results{})
        : window_(view, [this] { frames_.Request(); }),
          sound_(view == pw::PageView::Player ? static_cast<pw::SoundPlayer&>(pageSound_) : silence_),
          settings_(privateStart != nullptr ? static_cast<pw::TextStorage&>(memory_) : storage_) {
        if (view == pw::PageView::Player) {
            // The player's own settings, absent before the very first visit.
            const std::string name = pw::TextRegistry::TextName(pw::SettingsStore::kKeyPath);
            const bool fresh = storage_.Load(name, 0).state == pw::TextStorage::State::Absent;
            told_ = std::make_unique<PageTold>(registry_, results.set, fresh);
            // F1 and P are the page's to show, as the desktop host shows them.
            loop_.SetHelp([] { pw_page_asked("help"); });
            loop_.SetProgressAsked([] { pw_page_asked("progress"); });
            window_.SetKeyCheck([this](const pw::WindowEvent& key) { return TabStays(key); });
            loop_.AcceptTaps();
        }
        if (privateStart != nullptr) started_ = pw::StoreReplayStart(registry_, *privateStart);
        if (results.kept) {
            tracker_ = std::make_unique<pw::PuzzleTracker>(
                clock_, time_, results.set, [this](const pw::ResultRow& row) { history_.Append(row); });
            Watch();
        }
        if (&sound_ == &pageSound_)
            for (size_t i = 0; i < pw::kEmbeddedResourceCount; ++i)
                if (pw::kEmbeddedResources[i].kind == pw::EmbeddedKind::Wave)
                    pageSound_.Preload(resources_.FindSound(pw::kEmbeddedResources[i].id));
        loop_.Start(seed);
        // Told at once, so that the page shows the set's line and knows of a
        // first visit as soon as the game starts.
        if (told_) told_->Tell(*loop_.App(), settings_);
        frames_.Request();
    }

    void Post(const pw::WindowEvent& event) {
        if (closed_) return;
        if (event.type == pw::WindowEvent::Type::KeyDown && event.key == pw::Key::Tab)
            tabsEntering_.push_back(false);
        window_.Post(event);
    }

    // The page's focus comes back to the game by Tab (by Shift+Tab with
    // backward): the ring starts over from the first weight (the last).
    void Enter(bool backward) {
        if (closed_) return;
        pw::WindowEvent tab;
        tab.type = pw::WindowEvent::Type::KeyDown;
        tab.key = pw::Key::Tab;
        tab.shift = backward;
        tabsEntering_.push_back(true);
        window_.Post(tab);
    }

    std::string Dump() { return loop_.Dump(); }
    bool Started() const { return started_; }

    // The page's live region is listening (or no longer is): descriptions
    // are made only while it is.
    void Describe(bool on) {
        if (on == (narration_ != nullptr)) return;
        std::unique_ptr<pw::Narration> was = std::move(narration_);
        if (on) narration_ = std::make_unique<pw::Narration>(pw::SayOnPage);
        Watch();
    }

private:
    // Tab moves the ring round the weights, but past the last weight (with
    // Shift, before the first), or with no weight to ring, the page's focus
    // goes on to the page's controls, so that keys reach them too. Decided as
    // the loop takes the key, after every key before it has moved the ring.
    bool TabStays(const pw::WindowEvent& key) {
        if (key.key != pw::Key::Tab) return true;
        const bool entering = !tabsEntering_.empty() && tabsEntering_.front();
        if (!tabsEntering_.empty()) tabsEntering_.pop_front();
        const pw::GameView view = loop_.View();
        std::vector<pw::Rect> weights;
        if (view.screen == pw::GameView::Screen::Game)
            for (size_t i : pw::KeyTargets::MovableWeights(view)) weights.push_back(view.elements[i].Bounds());
        const char* out = key.shift ? "before" : "after";
        if (weights.empty()) {
            if (!entering) pw_page_asked(out);
            return false;
        }
        const pw::Rect& ring = window_.Ringed();
        const bool ringed = !(ring == pw::Rect{});
        // Coming in, a ring already on the weight to start from stays; any
        // other moves on (round the end, from the weight it left by).
        if (entering) return !(ringed && ring == (key.shift ? weights.back() : weights.front()));
        if (!ringed || !(ring == (key.shift ? weights.front() : weights.back()))) return true;
        pw_page_asked(out);
        return false;
    }

    // Shows the scene to whoever listens: the descriptions, the results.
    void Watch() {
        watchers_ = pw::WatcherPair(narration_.get(), tracker_.get());
        loop_.Watch(narration_ || tracker_ ? &watchers_ : nullptr);
    }

    bool Frame() {
        const bool more = loop_.RunWaitingPasses();
        // The game screen once the title is up (built sooner if a press needs it).
        if (loop_.App() != nullptr) {
            loop_.App()->Game();
            if (told_) told_->Tell(*loop_.App(), settings_);
        }
        if (loop_.QuitPosted() && !closed_) {
            closed_ = true;
            if (tracker_) tracker_->End();
            window_.Close();
        }
        return more;
    }

    pw::AnimationFrames frames_{[this] { return Frame(); }};
    pw::WebWindow window_;
    pw::EmbeddedResourceStore resources_;
    pw::AtlasTextRenderer text_;
    pw::WebSoundPlayer pageSound_;
    pw::RecordingSoundPlayer silence_;
    pw::SoundPlayer& sound_;
    pw::SystemClock clock_;
    pw::LocalStorage storage_;
    pw::MemoryTextStorage memory_;
    NotedStorage settings_;
    pw::TextRegistry registry_{settings_};
    pw::LocalSystemTime time_;
    pw::Platform platform_{window_, resources_, text_, sound_, clock_, registry_, time_};
    pw::IndexedDbHistory historyStorage_{pw::kResultsHeader, pw::ResultsHistory::kMaxRows};
    pw::ResultsHistory history_{historyStorage_, SayOnConsole};
    // Before the loop, so that they outlive the loop that shows them the scene.
    std::unique_ptr<pw::Narration> narration_;
    std::unique_ptr<pw::PuzzleTracker> tracker_;
    pw::WatcherPair watchers_{nullptr, nullptr};
    std::unique_ptr<PageTold> told_;
    pw::MainLoop loop_{platform_};
    bool closed_ = false;
    bool started_ = true;
    // For each Tab queued, in order: whether it brings the focus back in.
    std::deque<bool> tabsEntering_;
};

// What the last replay left: its dump (or why it could not be played) and
// the picture its window showed at the end.
struct ReplayOutcome {
    std::string text;
    pw::HeadlessWindow window;
};

// Plays a replay as `pivotwarden --headless --replay` does: no window, no
// sound, a virtual clock, seed 0 unless the replay names one, and private
// settings holding just the stored values of the replay's header, never the
// player's.
bool PlayReplay(const std::string& text, ReplayOutcome& outcome) {
    pw::Replay replay;
    if (!pw::ParseReplay(text, replay, outcome.text)) return false;
    pw::MemoryTextStorage settings;
    pw::TextRegistry registry(settings);
    if (!pw::StoreReplayStart(registry, replay)) {
        outcome.text = "cannot store the replay's settings";
        return false;
    }
    pw::EmbeddedResourceStore resources;
    pw::AtlasTextRenderer renderer;
    pw::RecordingSoundPlayer sound;
    pw::VirtualClock clock;
    pw::LocalSystemTime time;
    pw::Platform platform{outcome.window, resources, renderer, sound, clock, registry, time};
    pw::MainLoop loop(platform);
    loop.KeepLastDump();
    loop.Start(replay.seed.value_or(0));
    loop.RunReplay(replay, clock);
    outcome.text = loop.Dump();
    return true;
}

// The page's games: the player's, How to play's while it shows, and what the
// last replay left.
std::unique_ptr<BrowserGame> game;
std::unique_ptr<BrowserGame> shown;
std::unique_ptr<ReplayOutcome> lastReplay;

// The progress view, drawn from the rows of a history's text that read as
// a history's: one row the browser kept wrongly (written by hand, or torn)
// is left out and counted rather than hiding every other.
struct ProgressView {
    std::string page;
    std::string csv;  // the header and the rows drawn
    int skipped = 0;
};
ProgressView progress;

ProgressView DrawProgress(const std::string& text) {
    ProgressView view;
    std::vector<pw::ResultRow> rows;
    const std::string header = pw::kResultsHeader;
    if (pw::ResultsHistory::Parse(text, rows)) {
        view.csv = text;
    } else {
        if (text.compare(0, header.size(), header) != 0) return view;
        rows.clear();
        view.csv = header;
        for (size_t at = header.size(); at < text.size();) {
            const size_t end = std::min(text.find('\n', at), text.size() - 1);
            const std::string line = text.substr(at, end + 1 - at);
            std::vector<pw::ResultRow> one;
            if (line.back() == '\n' && pw::ResultsHistory::Parse(header + line, one) && one.size() == 1) {
                rows.push_back(one.front());
                view.csv += line;
            } else {
                ++view.skipped;
            }
            at = end + 1;
        }
    }
    view.page = pw::ProgressPage(rows, pw::LocalSystemTime().LocalNow());
    return view;
}

std::string TextOf(const char* text, int length) {
    return text != nullptr && length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

}  // namespace

// The page's side of the game, each exported to the page and wrapped for it
// by platform/web/PageContract.js.

// Starts the game, seeded from the date and time unless a seed is given.
PW_PAGE_EXPORT void pw_play(int seeded, uint32_t seed) {
    if (!game)
        game = std::make_unique<BrowserGame>(pw::PageView::Player,
                                             seeded != 0 ? std::optional<uint32_t>(seed) : std::nullopt,
                                             nullptr, Results{true, ""});
}

// Starts a puzzle set ("4711-6") from text of length bytes, on settings of
// its own in memory, so that the player's stored score and level are
// untouched; 0, with nothing started, when the text is no set (a NUL byte
// in it included).
PW_PAGE_EXPORT int pw_play_set(const char* text, int length) {
    pw::PuzzleSet set;
    std::string error;
    const std::string source = TextOf(text, length);
    if (game || source.find('\0') != std::string::npos || !pw::ParsePuzzleSet(source, set, error)) return 0;
    pw::ReplayHeader start;
    start.score = 0;
    start.level = set.level;
    start.autoOff = 1;
    game = std::make_unique<BrowserGame>(pw::PageView::Player, set.seed, &start, Results{true, set.Name()});
    return 1;
}

// The game's state as the desktop's --dump writes it; empty before it starts.
PW_PAGE_EXPORT const char* pw_dump() {
    static std::string dump;
    dump = game ? game->Dump() : std::string();
    return dump.c_str();
}

// A message from the page for the player's game (view 0) or How to play's
// (1): 0 press, 1 move, 2 release, 3 paint, with the position in display
// pixels and, for a move, whether exactly the primary button is held.
PW_PAGE_EXPORT void pw_post(int view, int type, int x, int y, int primaryOnly) {
    using Type = pw::WindowEvent::Type;
    static const Type kTypes[] = {Type::PenDown, Type::PenMove, Type::PenUp, Type::Paint};
    BrowserGame* to = view == static_cast<int>(pw::PageView::Player)  ? game.get()
                      : view == static_cast<int>(pw::PageView::Shown) ? shown.get()
                                                                      : nullptr;
    if (to == nullptr || type < 0 || type > 3) return;
    to->Post(pw::WindowEvent{kTypes[type], x, y, primaryOnly != 0});
}

// A key pressed on the page, by its KeyboardEvent.code, whether Shift was
// held, whether it is a held key's repeat and whether the window is to be
// painted first (a replay's picture is on it). 1 when the game took the key,
// 2 when it is the game's but a held key that does not repeat, 0 when it is
// not the game's (F11 is the page's); the page keeps the game's keys from
// the browser.
PW_PAGE_EXPORT int pw_key(const char* code, int length, int shift, int repeat, int paintFirst) {
    const pw::Key key = pw::KeyFromCode(TextOf(code, length));
    if (!game || key == pw::Key::None || key == pw::Key::F11) return 0;
    if (repeat != 0 && !pw::KeyRepeats(key)) return 2;
    if (paintFirst != 0) game->Post(pw::WindowEvent{});
    pw::WindowEvent event;
    event.type = pw::WindowEvent::Type::KeyDown;
    event.key = key;
    event.shift = shift != 0;
    game->Post(event);
    return 1;
}

// The page's focus comes back to the game by Tab (1: by Shift+Tab).
PW_PAGE_EXPORT void pw_enter(int backward) {
    if (game) game->Enter(backward != 0);
}

// 1: the page's live region is there to speak the game's descriptions; 0: it
// no longer is.
PW_PAGE_EXPORT void pw_describe(int on) {
    if (game) game->Describe(on != 0);
}

// Plays a replay of length bytes; 1 when it played, 0 when the text is not a
// replay. Then pw_replay_text is the dump (or the message that names the bad
// line) and the last picture is shown on the canvas. The length is given so
// that a NUL byte in the text is refused as the desktop refuses it, rather
// than ending the text early.
PW_PAGE_EXPORT int pw_replay(const char* text, int length) {
    lastReplay = std::make_unique<ReplayOutcome>();
    const bool played = PlayReplay(TextOf(text, length), *lastReplay);
    return played ? 1 : 0;
}

// Starts How to play's game (in place of the one shown before), on private
// settings from the replay's header and its seed, beside the player's; the
// page then presses the replay's stylus in time (pw_post to view 1). 1 when
// it started, 0 when the text is not a replay (or its start cannot be stored).
PW_PAGE_EXPORT int pw_show(const char* text, int length) {
    shown.reset();
    pw::Replay replay;
    std::string error;
    if (!pw::ParseReplay(TextOf(text, length), replay, error)) return 0;
    shown = std::make_unique<BrowserGame>(pw::PageView::Shown, replay.seed.value_or(0), &replay);
    if (shown->Started()) return 1;
    shown.reset();
    return 0;
}

// Ends How to play's game.
PW_PAGE_EXPORT void pw_show_end() { shown.reset(); }

// The results history's first line, which the page puts before the rows
// it reads from the browser's storage.
PW_PAGE_EXPORT const char* pw_results_header() { return pw::kResultsHeader; }

// The progress view drawn from a results history's text of length bytes, as
// the desktop's --progress draws it from its file; empty when the text is
// no history. Then pw_progress_csv is the history of the rows drawn and
// pw_progress_skipped the number of rows left out.
PW_PAGE_EXPORT const char* pw_progress_page(const char* text, int length) {
    progress = DrawProgress(TextOf(text, length));
    return progress.page.c_str();
}

PW_PAGE_EXPORT const char* pw_progress_csv() { return progress.csv.c_str(); }

PW_PAGE_EXPORT int pw_progress_skipped() { return progress.skipped; }

PW_PAGE_EXPORT const char* pw_replay_text() { return lastReplay ? lastReplay->text.c_str() : ""; }

PW_PAGE_EXPORT void pw_replay_show() {
    if (lastReplay) pw::ShowOnCanvas(pw::PageView::Replay, lastReplay->window.Shown());
}
