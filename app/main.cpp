// Pivotwarden: the desktop host, on Linux and on Windows. Reads the host
// options, picks the window or the headless backend, runs the game and, at
// the end, writes the screenshot and the scene dump when asked. What differs
// between the two systems is named once, in the block below; the run itself
// is one path.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/HostOptions.h"
#include "howtoplay/HowToPlay.h"
#include "text/LineFile.h"
#include "app/MainLoop.h"
#include "narration/Narration.h"
#include "results/ProgressPage.h"
#include "results/PuzzleSet.h"
#include "results/PuzzleTracker.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplaySettings.h"
#include "results/ResultsHistory.h"
#include "howtoplay/StreamingWindow.h"
#include "game/GameScreen.h"
#include "platform/AtlasTextRenderer.h"
#include "platform/EmbeddedResourceStore.h"
#include "platform/PngWriter.h"
#include "platform/StopSignals.h"
#include "platform/SystemServices.h"
#include "platform/TextFormat.h"
#include "platform/TextRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/sdl/SdlRuntime.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SdlWindow.h"
#include "resources/EmbeddedResources.h"
#include "resources/ResourceIds.h"

#ifdef _WIN32
#include "platform/windows/BrowserOpener.h"
#include "platform/windows/Console.h"
#include "platform/windows/ConsoleCloseWatcher.h"
#include "platform/windows/FileHistoryStorage.h"
#include "platform/windows/InputFile.h"
#include "platform/windows/OutputFile.h"
#include "platform/windows/RaiseListener.h"
#include "platform/windows/SingleInstance.h"
#include "platform/windows/WindowsRegistry.h"
#else
#include <malloc.h>

#include "platform/posix/BrowserOpener.h"
#include "platform/posix/ChildGame.h"
#include "platform/posix/FileHistoryStorage.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/InputFile.h"
#include "platform/posix/LibraryMessages.h"
#include "platform/posix/OutputFile.h"
#include "platform/posix/ProcessStart.h"
#include "platform/posix/RaiseListener.h"
#include "platform/posix/SingleInstance.h"
#include "platform/sdl/QuitSignalWatcher.h"
#endif

namespace {

#ifdef _WIN32
// The player's settings in the real registry; a message on the console the
// game was started from, or in a message box; Ctrl-C and closing that
// console close the window.
using PlayerRegistry = pw::WindowsRegistry;
void Say(const std::string& message) { pw::ReportProblem(message); }
struct OutsideClose {
    explicit OutsideClose(pw::SdlWindow& window) : watcher([&window]() { window.RequestClose(); }) {}
    pw::ConsoleCloseWatcher watcher;
};
// How to play needs a second game in a process of its own: not here yet.
void ShowHowToPlay(pw::Window&, pw::Clock&) {
    Say("How to play is not available on this system yet: see the README for the keys and the rules");
}
// The results history in the given file, else in the player's local
// application data.
std::unique_ptr<pw::HistoryStorage> OpenHistory(const std::string& path) {
    if (path.empty()) {
        const std::string root = pw::FileHistoryStorage::DefaultDataRoot();
        return std::make_unique<pw::FileHistoryStorage>(
            root.empty() ? root : root + "\\Marblequill\\Pivotwarden", "results.csv");
    }
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return std::make_unique<pw::FileHistoryStorage>(".", path);
    return std::make_unique<pw::FileHistoryStorage>(path.substr(0, slash == 0 ? 1 : slash),
                                                    path.substr(slash + 1));
}
// Where P writes the progress view, beside the history.
std::string ProgressViewPath() {
    const std::string root = pw::FileHistoryStorage::DefaultDataRoot();
    return root.empty() ? root : root + "\\Marblequill\\Pivotwarden\\progress.html";
}
using pw::OpenInBrowser;
// What is no error (where the progress view is) is not shown as one; the
// help goes to the console, or to a message box without one.
void Tell(const std::string& message) { pw::ReportNotice(message); }
void ShowUsage() {
    pw::ShowText(pw::HostUsage({"%LOCALAPPDATA%\\Marblequill\\Pivotwarden\\results.csv", "-"}));
}
#else
// The player's settings in a file; a message on stderr; SIGTERM, SIGINT and
// SIGHUP close the window.
using PlayerRegistry = pw::FileRegistry;
void Say(const std::string& message) { std::fprintf(stderr, "pivotwarden: %s\n", message.c_str()); }
struct OutsideClose {
    explicit OutsideClose(pw::SdlWindow&) {}
    pw::QuitSignalWatcher watcher;
};
// How to play: the two embedded recordings, each played by this same
// executable, headless and on settings of its own, shown in the window.
void ShowHowToPlay(pw::Window& window, pw::Clock& clock) {
    std::vector<pw::HowToPlay::Part> parts;
    const char* const captions[][2] = {
        {"Drag a yellow weight onto a pan", "Make both sides weigh the same"},
        {"Make both sides weigh the same", "Type the hidden number"},
    };
    for (int id = 1; id <= 2; ++id) {
        const pw::EmbeddedResource* recording = pw::FindEmbedded(pw::EmbeddedKind::Demo, id);
        if (recording == nullptr) continue;
        parts.push_back({std::string(reinterpret_cast<const char*>(recording->begin), recording->Size()),
                         captions[id - 1][0], captions[id - 1][1]});
    }
    pw::ChildGame game;
    pw::HowToPlay show(window, clock, game);
    show.Run(parts);
    if (!show.Problem().empty()) Say(show.Problem());
}
// The results history in the given file, else below the user's data folder.
std::unique_ptr<pw::HistoryStorage> OpenHistory(const std::string& path) {
    if (path.empty())
        return std::make_unique<pw::FileHistoryStorage>(pw::FileHistoryStorage::DefaultDataRoot(),
                                                        "Marblequill/Pivotwarden/results.csv");
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::make_unique<pw::FileHistoryStorage>(".", path);
    return std::make_unique<pw::FileHistoryStorage>(slash == 0 ? "" : path.substr(0, slash),
                                                    path.substr(slash + 1));
}
// Where P writes the progress view, beside the history.
std::string ProgressViewPath() {
    const std::string root = pw::FileHistoryStorage::DefaultDataRoot();
    return root.empty() ? std::string() : root + "/Marblequill/Pivotwarden/progress.html";
}
using pw::OpenInBrowser;
void Tell(const std::string& message) { Say(message); }
void ShowUsage() {
    std::fputs(pw::HostUsage({"${XDG_DATA_HOME:-$HOME/.local/share}/Marblequill/Pivotwarden/results.csv",
                              "/dev/stdout"})
                   .c_str(),
               stdout);
}
#endif

// Writes bytes to path as one whole file, replaced whole where it can be.
bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error) {
    pw::OutputFile file;
    return pw::WriteWholeFile(file, path, bytes, error);
}

int Fail(const std::string& message) {
    Say(message);
    return 2;
}

// Writes what was asked for once the run has ended. A game that closed is
// dumped as its last screen was.
int Finish(const pw::HostOptions& options, pw::MainLoop& loop, pw::Window& window) {
    std::string error;
    if (!options.screenshotPath.empty()) {
        const std::vector<uint8_t> png = pw::EncodePng(window.Shown());
        if (png.empty()) return Fail("nothing to write to '" + options.screenshotPath + "'");
        if (!WriteOutputFile(options.screenshotPath, std::string(png.begin(), png.end()), error))
            return Fail("cannot write screenshot '" + options.screenshotPath + "': " + error);
    }
    if (!options.dumpPath.empty()) {
        if (!WriteOutputFile(options.dumpPath, loop.Dump(), error))
            return Fail("cannot write dump '" + options.dumpPath + "': " + error);
    }
    return 0;
}

// The window, its sound and what comes with them: the one-copy check and
// the listener that raises the window for a second copy.
struct Windowed {
    pw::SingleInstance instance;
    pw::SdlWindow window;
    pw::SdlSoundPlayer sound;
    std::unique_ptr<OutsideClose> outsideClose;
    std::unique_ptr<pw::RaiseListener> raiseListener;
};

// The spoken descriptions, when asked for: the narration writes each to the
// file, and nothing is described without it.
class Descriptions {
public:
    bool Open(const std::string& path, std::string& error) {
        if (path.empty()) return true;
        if (!file_.Open(path, std::string(), error)) return false;
        narration_ = std::make_unique<pw::Narration>([this](const std::string& line) { file_.Write(line); });
        return true;
    }
    pw::SceneWatcher* Watcher() { return narration_.get(); }
    int Finish() {
        if (!narration_) return 0;
        std::string error;
        return file_.Close(error) ? 0 : Fail(error);
    }

private:
    pw::OutputFile output_;
    pw::LineFile file_{output_, "descriptions to"};
    std::unique_ptr<pw::Narration> narration_;
};

int Run(const std::vector<std::string>& args) {
    pw::HostOptions options;
    std::string error;
    if (!pw::ParseHostOptions(args, options, error)) return Fail(error);
    if (options.showHelp) {
        ShowUsage();
        return 0;
    }
    if (options.showVersion) {
        std::printf("pivotwarden %s\n", PW_VERSION);
        return 0;
    }

    // The progress view is drawn from the history as it stands, nothing run.
    if (!options.progressPath.empty()) {
        std::unique_ptr<pw::HistoryStorage> storage = OpenHistory(options.historyPath);
        if (storage == nullptr) return Fail("the results history is not kept on this system");
        pw::ResultsHistory history(*storage, Say);
        pw::LocalSystemTime today;
        if (!history.WriteView(options.progressPath, today.LocalNow(), error))
            return Fail("cannot write the progress view '" + options.progressPath + "': " + error);
        return 0;
    }

    const bool replaying = !options.replayPath.empty();
    // A puzzle set plays on settings of its own; text that is no set is said
    // and the normal game plays.
    pw::PuzzleSet set;
    bool inSet = false;
    if (!options.setText.empty() && !replaying) {
        inSet = pw::ParsePuzzleSet(options.setText, set, error);
        if (!inSet) Say(error + "; playing the normal game");
        if (inSet) options.seed = set.seed;
    }
    pw::InputFile replayInput;
    pw::ReplayFile replay(replayInput);
    pw::ReplayHeader start;
    if (replaying) {
        // Stopped by a signal, a replay ends at its next pass, cleaned up.
        pw::StopSignals::Catch();
        if (!replay.Open(options.replayPath, start, error)) return Fail(error);
        // Without a seed of its own, a replay plays on --seed or on 0: the
        // same every time.
        options.seed = start.seed ? *start.seed : options.seed.value_or(0);
    }

    Descriptions descriptions;
    if (!descriptions.Open(options.describePath, error)) return Fail(error);

    pw::SdlRuntime sdl(!options.headless);
    pw::EmbeddedResourceStore resources;
    pw::AtlasTextRenderer text;
    // The player's settings, or a replay's own, held in memory and gone with
    // it, so that a replay ends the same way every time and never touches
    // the player's score and level.
    PlayerRegistry playerRegistry;
    pw::MemoryTextStorage replayStorage;
    pw::TextRegistry replayRegistry(replayStorage);
    pw::Registry& registry = replaying || inSet ? static_cast<pw::Registry&>(replayRegistry) : playerRegistry;
    // A full disk or a read-only file does not stop play; the player is told
    // once that the score is no longer kept.
    playerRegistry.OnWriteFailure(Say);
    replayRegistry.OnWriteFailure(Say);
    if (replaying && !pw::StoreReplayStart(registry, start))
        return Fail("cannot store the replay's settings");
    if (inSet) {
        pw::ReplayHeader setStart;
        setStart.score = 0;
        setStart.level = set.level;
        setStart.autoOff = 1;
        if (!pw::StoreReplayStart(registry, setStart)) return Fail("cannot store the puzzle set's settings");
    }
    pw::LocalSystemTime localTime;
    pw::SystemClock systemClock;
    pw::VirtualClock virtualClock;
    pw::Clock& clock = replaying ? static_cast<pw::Clock&>(virtualClock) : systemClock;

    // Headless, a window in memory and sounds only noted; else the real
    // window, which a second copy hands over to.
    std::unique_ptr<pw::HeadlessWindow> headlessWindow;
    std::unique_ptr<pw::RecordingSoundPlayer> headlessSound;
    std::unique_ptr<Windowed> windowed;
    pw::OutputFile frames;
    std::unique_ptr<pw::StreamingWindow> streaming;
    if (options.headless) {
        headlessWindow = std::make_unique<pw::HeadlessWindow>();
        if (!options.framesPath.empty()) {
            if (!frames.Open(options.framesPath, error)) return Fail(error);
            streaming = std::make_unique<pw::StreamingWindow>(*headlessWindow, clock, frames);
        }
        headlessSound = std::make_unique<pw::RecordingSoundPlayer>();
    } else {
        if (!sdl.VideoReady()) return Fail("cannot start the window system: " + sdl.Error());
        windowed = std::make_unique<Windowed>();
        pw::SingleInstance& instance = windowed->instance;
        const auto claim = replaying ? pw::SingleInstance::Claim::First : instance.ClaimOrSignal();
        if (claim == pw::SingleInstance::Claim::AnotherRuns) return 0;
        if (claim == pw::SingleInstance::Claim::NoAnswer) return Fail(instance.Problem());
        if (claim == pw::SingleInstance::Claim::Unavailable)
            Say("playing without the one-copy check: " + instance.Problem());
        pw::SdlWindow& window = windowed->window;
        windowed->outsideClose = std::make_unique<OutsideClose>(window);
        const std::string title = pw::ToUtf8(resources.LoadString(pw::res::kWindowTitle, 100));
        if (!window.Open(title, options.scale, options.fullscreen, error)) return Fail(error);
        if (const pw::EmbeddedResource* icon = pw::FindEmbedded(pw::EmbeddedKind::Icon, pw::res::kAppIcon))
            window.SetIcon(icon->begin, icon->Size());
        windowed->raiseListener =
            std::make_unique<pw::RaiseListener>(instance, [&window]() { window.RequestRaise(); });
    }
    pw::Window& window = windowed    ? static_cast<pw::Window&>(windowed->window)
                         : streaming ? static_cast<pw::Window&>(*streaming)
                                     : *headlessWindow;
    pw::SoundPlayer& sound = windowed ? static_cast<pw::SoundPlayer&>(windowed->sound) : *headlessSound;

    pw::Platform platform{window, resources, text, sound, clock, registry, localTime};
    pw::MainLoop loop(platform);
    loop.SetStopCheck([] { return pw::StopSignals::Received() != 0; });
    if (!options.dumpPath.empty()) loop.KeepLastDump();
    // Every puzzle played live goes into the player's history; replays and
    // headless runs keep one only when a file is given for it.
    std::unique_ptr<pw::HistoryStorage> historyStorage;
    if (!options.historyPath.empty() || (!replaying && !options.headless))
        historyStorage = OpenHistory(options.historyPath);
    std::unique_ptr<pw::ResultsHistory> history;
    std::unique_ptr<pw::PuzzleTracker> tracker;
    if (historyStorage) {
        history = std::make_unique<pw::ResultsHistory>(*historyStorage, Say);
        tracker = std::make_unique<pw::PuzzleTracker>(
            clock, localTime, inSet ? set.Name() : std::string(),
            [&history](const pw::ResultRow& row) { history->Append(row); });
    }
    // P writes the progress view from the history as it stands and opens it.
    if (history && windowed) {
        loop.SetProgressAsked([&history, &localTime]() {
            const std::string path = ProgressViewPath();
            std::string problem;
            if (path.empty()) return Say("there is no home folder to write the progress view in");
            if (!history->WriteView(path, localTime.LocalNow(), problem))
                return Say("cannot write the progress view '" + path + "': " + problem);
            if (!OpenInBrowser(path, problem)) Tell("the progress view is in " + path + " (" + problem + ")");
        });
    }
    pw::WatcherPair watchers(descriptions.Watcher(), tracker.get());
    if (descriptions.Watcher() != nullptr || tracker) loop.Watch(&watchers);
    loop.Start(options.seed);
    if (windowed) {
        pw::Window& shownIn = windowed->window;
        loop.SetHelp([&shownIn, &systemClock] { ShowHowToPlay(shownIn, systemClock); });
        windowed->window.Show();
        windowed->sound.OpenInBackground();  // off the path to the first frame
        loop.App()->Game();                  // and the game screen, now that the title shows
    }
    pw::OutputFile recording;
    pw::ReplayRecorder recorder(recording);
    if (!options.recordPath.empty() &&
        !recorder.Open(options.recordPath, pw::RecordedStart(loop.App()->Game().settings, loop.Seed()),
                       error))
        return Fail(error);

    int code = 0;
    if (replaying) {
        if (loop.RunReplay(replay, virtualClock) != 0)
            return pw::StopSignals::Received() != 0 ? 1 : Fail(replay.Error());
    } else if (windowed) {
        code = loop.RunLive(recorder.IsOpen() ? &recorder : nullptr);
    } else if (recorder.IsOpen()) {
        // Without a replay nothing can happen headless: the first frame is
        // the whole run, and a recording of it holds the start and its end.
        recorder.Record(pw::ReplayEvent{clock.Now(), pw::ReplayEvent::Type::End, 0, 0});
    }
    // The frames' reader may have gone: How to play ended before the game.
    if (frames.IsOpen()) frames.Close(error);
    const int recorded = recorder.IsOpen() && !recorder.Close(error) ? Fail(error) : 0;
    // A run that ended without a close (a replay's end) leaves its puzzle too.
    if (tracker) tracker->End();
    loop.Watch(nullptr);
    const int described = descriptions.Finish();
    const int finished = Finish(options, loop, window);
    return code != 0 ? code : recorded != 0 ? recorded : described != 0 ? described : finished;
}

}  // namespace

#ifdef _WIN32
int main() {
    // Messages go to the console the game was started from, if any, and the
    // arguments are read as the system holds them, in UTF-16.
    pw::ConnectConsole();
    const int code = Run(pw::CommandLineArguments());
    pw::StopSignals::RaiseAgain();
    return code;
}
#else
int main(int argc, char** argv) {
    pw::PrepareProcess();
    pw::QuietLibraryMessages();
    // The game's few threads (signals, the one-copy listener, opening the
    // sound device) allocate little: one heap for all of them keeps what they
    // free reusable instead of in a heap of its own each.
    mallopt(M_ARENA_MAX, 1);
    // A picture of 128 KiB or more (a background, a screen buffer) has a
    // mapping of its own, handed back to the system when it is let go,
    // rather than leaving a hole in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    const int code = Run(std::vector<std::string>(argv + 1, argv + argc));
    // Everything is cleaned up by now; a signal that stopped a replay ends
    // the program as it would have.
    pw::StopSignals::RaiseAgain();
    return code;
}
#endif
