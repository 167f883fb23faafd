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
#include "app/MainLoop.h"
#include "game/GameScreen.h"
#include "howtoplay/ClockWithoutHowToPlay.h"
#include "howtoplay/HowToPlay.h"
#include "narration/Narration.h"
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
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplaySettings.h"
#include "resources/EmbeddedResources.h"
#include "resources/ResourceIds.h"
#include "results/ProgressPage.h"
#include "results/PuzzleSet.h"
#include "results/PuzzleTracker.h"
#include "results/ResultsHistory.h"
#include "text/LineFile.h"
#include "text/QuotedText.h"

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
#include "platform/posix/FileHistoryStorage.h"
#include "platform/posix/FileRegistry.h"
#include "platform/posix/InputFile.h"
#include "platform/posix/LibraryMessages.h"
#include "platform/posix/OutputFile.h"
#include "platform/posix/PathParts.h"
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
// The results history in the given file, else below the user's data folder.
std::unique_ptr<pw::HistoryStorage> OpenHistory(const std::string& path) {
    if (path.empty())
        return std::make_unique<pw::FileHistoryStorage>(pw::FileHistoryStorage::DefaultDataRoot(),
                                                        "Marblequill/Pivotwarden/results.csv");
    return std::make_unique<pw::FileHistoryStorage>(pw::FolderOf(path), pw::NameOf(path));
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

// How to play in the player's window: the embedded recordings, each played
// by a game of its own in this process, headless and on settings in memory.
// Answers how long it was shown.
uint32_t ShowHowToPlay(pw::Platform& player) {
    pw::DemoGame::Makers makers{
        [](std::function<void(const pw::Rect&)> presented) -> std::unique_ptr<pw::Window> {
            auto window = std::make_unique<pw::HeadlessWindow>();
            window->onPresent = std::move(presented);
            return window;
        },
        [](pw::Platform& platform) -> std::unique_ptr<pw::ReplayPasses> {
            return std::make_unique<pw::MainLoop>(platform);
        }};
    pw::HowToPlay show(player, std::move(makers));
    show.Run(pw::HowToPlay::EmbeddedParts());
    if (!show.Problem().empty()) Say(show.Problem());
    return show.ShownForMs();
}

// Writes bytes to path as one whole file, replaced whole where it can be.
bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error) {
    pw::OutputFile file;
    return pw::WriteWholeFile(file, path, bytes, error);
}

int Fail(const std::string& message) {
    Say(message);
    return 2;
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

// The desktop host: one run of the game made of ordered parts, each a step
// of Run(). The members are declared in the order they are made, so that
// they go in the reverse: the loop before its platform, the platform before
// its window and settings.
class DesktopHost {
public:
    int Run(const std::vector<std::string>& args);

private:
    // Each part answers false when the run ends there, with code_ set.
    bool ReadOptions(const std::vector<std::string>& args);
    int WriteProgress();
    bool ReadStart();
    bool ChooseSettings();
    bool OpenWindowOrHeadless();
    void KeepHistory();
    void StartGame();
    bool OpenRecording();
    void Play();
    int Finish();
    bool Stop(const std::string& message) {
        code_ = Fail(message);
        return false;
    }

    pw::HostOptions options_;
    int code_ = 0;
    bool replaying_ = false;
    // Options: a puzzle set or a replay to play.
    pw::PuzzleSet set_;
    bool inSet_ = false;
    pw::InputFile replayInput_;
    pw::ReplayFile replay_{replayInput_};
    pw::ReplayHeader start_;
    // Outputs written as the game goes.
    Descriptions descriptions_;
    pw::OutputFile recording_;
    pw::ReplayRecorder recorder_{recording_};
    // Settings: the player's, or a replay's or a set's own, held in memory
    // and gone with it, so that a replay ends the same way every time and
    // never touches the player's score and level.
    std::unique_ptr<pw::SdlRuntime> sdl_;
    pw::EmbeddedResourceStore resources_;
    pw::AtlasTextRenderer text_;
    PlayerRegistry playerRegistry_;
    pw::MemoryTextStorage privateStorage_;
    pw::TextRegistry privateRegistry_{privateStorage_};
    pw::Registry* registry_ = &playerRegistry_;
    pw::LocalSystemTime localTime_;
    pw::SystemClock systemClock_;
    pw::VirtualClock virtualClock_;
    pw::Clock* clock_ = &systemClock_;
    // The window, or headless a window in memory with sounds only noted.
    std::unique_ptr<pw::HeadlessWindow> headlessWindow_;
    std::unique_ptr<pw::RecordingSoundPlayer> headlessSound_;
    std::unique_ptr<Windowed> windowed_;
    std::unique_ptr<pw::Platform> platform_;
    std::unique_ptr<pw::MainLoop> loop_;
    // History and watchers.
    std::unique_ptr<pw::HistoryStorage> historyStorage_;
    std::unique_ptr<pw::ResultsHistory> history_;
    std::unique_ptr<pw::ClockWithoutHowToPlay> puzzleClock_;
    std::unique_ptr<pw::PuzzleTracker> tracker_;
    std::unique_ptr<pw::WatcherPair> watchers_;
};

int DesktopHost::Run(const std::vector<std::string>& args) {
    if (!ReadOptions(args)) return code_;
    // The progress view is drawn from the history as it stands, nothing run.
    if (!options_.progressPath.empty()) return WriteProgress();
    std::string error;
    if (!ReadStart() || !ChooseSettings()) return code_;
    if (!descriptions_.Open(options_.describePath, error)) return Fail(error);
    if (!OpenWindowOrHeadless()) return code_;
    KeepHistory();
    StartGame();
    if (!OpenRecording()) return code_;
    Play();
    return Finish();
}

bool DesktopHost::ReadOptions(const std::vector<std::string>& args) {
    std::string error;
    if (!pw::ParseHostOptions(args, options_, error)) return Stop(error);
    if (options_.showHelp) ShowUsage();
    if (options_.showVersion && !options_.showHelp) std::printf("pivotwarden %s\n", PW_VERSION);
    replaying_ = !options_.replayPath.empty();
    return !options_.showHelp && !options_.showVersion;
}

int DesktopHost::WriteProgress() {
    std::unique_ptr<pw::HistoryStorage> storage = OpenHistory(options_.historyPath);
    if (storage == nullptr) return Fail("the results history is not kept on this system");
    pw::ResultsHistory history(*storage, Say);
    std::string error;
    if (!history.WriteView(options_.progressPath, localTime_.LocalNow(), error))
        return Fail("cannot write the progress view " + pw::QuotedText(options_.progressPath, 200) + ": " +
                    error);
    return 0;
}

// A puzzle set plays on settings of its own (text that is no set is said and
// the normal game plays); a replay is read through before anything plays.
bool DesktopHost::ReadStart() {
    std::string error;
    if (!options_.setText.empty()) {
        inSet_ = pw::ParsePuzzleSet(options_.setText, set_, error);
        if (!inSet_) Say(error + "; playing the normal game");
        if (inSet_) options_.seed = set_.seed;
    }
    if (!replaying_) return true;
    // Stopped by a signal, a replay ends at its next pass, cleaned up.
    pw::StopSignals::Catch();
    if (!replay_.Open(options_.replayPath, start_, error)) return Stop(error);
    // Without a seed of its own, a replay plays on --seed or on 0: the same
    // every time.
    options_.seed = start_.seed ? *start_.seed : options_.seed.value_or(0);
    return true;
}

bool DesktopHost::ChooseSettings() {
    // A full disk or a read-only file does not stop play; the player is told
    // once that the score is no longer kept.
    playerRegistry_.OnWriteFailure(Say);
    privateRegistry_.OnWriteFailure(Say);
    if (replaying_ || inSet_) registry_ = &privateRegistry_;
    if (replaying_ && !pw::StoreReplayStart(*registry_, start_))
        return Stop("cannot store the replay's settings");
    if (inSet_) {
        pw::ReplayHeader setStart;
        setStart.score = 0;
        setStart.level = set_.level;
        setStart.autoOff = 1;
        if (!pw::StoreReplayStart(*registry_, setStart))
            return Stop("cannot store the puzzle set's settings");
    }
    if (replaying_) clock_ = &virtualClock_;
    return true;
}

// Headless, a window in memory; else the real window, which a second copy
// hands over to.
bool DesktopHost::OpenWindowOrHeadless() {
    sdl_ = std::make_unique<pw::SdlRuntime>(!options_.headless);
    pw::Window* window = nullptr;
    pw::SoundPlayer* sound = nullptr;
    if (options_.headless) {
        headlessWindow_ = std::make_unique<pw::HeadlessWindow>();
        headlessSound_ = std::make_unique<pw::RecordingSoundPlayer>();
        window = headlessWindow_.get();
        sound = headlessSound_.get();
    } else {
        if (!sdl_->VideoReady()) return Stop("cannot start the window system: " + sdl_->Error());
        windowed_ = std::make_unique<Windowed>();
        pw::SingleInstance& instance = windowed_->instance;
        const auto claim = replaying_ ? pw::SingleInstance::Claim::First : instance.ClaimOrSignal();
        if (claim == pw::SingleInstance::Claim::AnotherRuns) return false;  // code 0: the other shows
        if (claim == pw::SingleInstance::Claim::NoAnswer) return Stop(instance.Problem());
        if (claim == pw::SingleInstance::Claim::Unavailable)
            Say("playing without the one-copy check: " + instance.Problem());
        pw::SdlWindow& shown = windowed_->window;
        windowed_->outsideClose = std::make_unique<OutsideClose>(shown);
        const std::string title = pw::ToUtf8(resources_.LoadString(pw::res::kWindowTitle, 100));
        std::string error;
        if (!shown.Open(title, options_.scale, options_.fullscreen, !options_.noBar, error))
            return Stop(error);
        if (const pw::EmbeddedResource* icon = pw::FindEmbedded(pw::EmbeddedKind::Icon, pw::res::kAppIcon))
            shown.SetIcon(icon->begin, icon->Size());
        windowed_->raiseListener =
            std::make_unique<pw::RaiseListener>(instance, [&shown]() { shown.RequestRaise(); });
        window = &shown;
        sound = &windowed_->sound;
    }
    platform_ = std::unique_ptr<pw::Platform>(
        new pw::Platform{*window, resources_, text_, *sound, *clock_, *registry_, localTime_});
    loop_ = std::make_unique<pw::MainLoop>(*platform_);
    loop_->SetStopCheck([] { return pw::StopSignals::Received() != 0; });
    if (!options_.dumpPath.empty()) loop_->KeepLastDump();
    return true;
}

// Every puzzle played live goes into the player's history; replays and
// headless runs keep one only when a file is given for it. P writes the
// progress view from the history as it stands and opens it.
void DesktopHost::KeepHistory() {
    puzzleClock_ = std::make_unique<pw::ClockWithoutHowToPlay>(*clock_);
    if (!options_.historyPath.empty() || (!replaying_ && !options_.headless))
        historyStorage_ = OpenHistory(options_.historyPath);
    if (!historyStorage_) return;
    history_ = std::make_unique<pw::ResultsHistory>(*historyStorage_, Say);
    tracker_ =
        std::make_unique<pw::PuzzleTracker>(*puzzleClock_, localTime_, inSet_ ? set_.Name() : std::string(),
                                            [this](const pw::ResultRow& row) { history_->Append(row); });
    if (!windowed_) return;
    loop_->SetProgressAsked([this]() {
        const std::string path = ProgressViewPath();
        std::string problem;
        if (path.empty()) return Say("there is no home folder to write the progress view in");
        if (!history_->WriteView(path, localTime_.LocalNow(), problem))
            return Say("cannot write the progress view " + pw::QuotedText(path, 200) + ": " + problem);
        if (!OpenInBrowser(path, problem)) Tell("the progress view is in " + path + " (" + problem + ")");
    });
}

void DesktopHost::StartGame() {
    watchers_ = std::make_unique<pw::WatcherPair>(descriptions_.Watcher(), tracker_.get());
    if (descriptions_.Watcher() != nullptr || tracker_) loop_->Watch(watchers_.get());
    loop_->Start(options_.seed);
    if (!windowed_) return;
    loop_->FeedStatus(inSet_ ? std::optional<uint32_t>(set_.seed) : std::nullopt);
    loop_->SetHelp([this] { puzzleClock_->LeaveOut(ShowHowToPlay(*platform_)); });
    windowed_->window.Show();
    windowed_->sound.OpenInBackground();  // off the path to the first frame
    loop_->App()->Game();                 // and the game screen, now that the title shows
}

bool DesktopHost::OpenRecording() {
    std::string error;
    if (!options_.recordPath.empty() &&
        !recorder_.Open(options_.recordPath, pw::RecordedStart(loop_->App()->Game().settings, loop_->Seed()),
                        error))
        return Stop(error);
    return true;
}

void DesktopHost::Play() {
    if (replaying_) {
        if (loop_->RunReplay(replay_, virtualClock_) != 0)
            code_ = pw::StopSignals::Received() != 0 ? 1 : Fail(replay_.Error());
    } else if (windowed_) {
        code_ = loop_->RunLive(recorder_.IsOpen() ? &recorder_ : nullptr);
    } else if (recorder_.IsOpen()) {
        // Without a replay nothing can happen headless: the first frame is
        // the whole run, and a recording of it holds the start and its end.
        recorder_.Record(pw::ReplayEvent{clock_->Now(), pw::ReplayEvent::Type::End, 0, 0});
    }
}

// Closes what was written as the game went and writes what was asked for
// once the run has ended. A game that closed is dumped as its last screen
// was. A stopped replay writes nothing more.
int DesktopHost::Finish() {
    if (replaying_ && code_ != 0) return code_;
    std::string error;
    const int recorded = recorder_.IsOpen() && !recorder_.Close(error) ? Fail(error) : 0;
    // A run that ended without a close (a replay's end) leaves its puzzle too.
    if (tracker_) tracker_->End();
    loop_->Watch(nullptr);
    const int described = descriptions_.Finish();
    int written = 0;
    if (!options_.screenshotPath.empty()) {
        const std::vector<uint8_t> png = pw::EncodePng(platform_->window.Shown());
        const std::string name = pw::QuotedText(options_.screenshotPath, 200);
        if (png.empty())
            written = Fail("nothing to write to " + name);
        else if (!WriteOutputFile(options_.screenshotPath, std::string(png.begin(), png.end()), error))
            written = Fail("cannot write screenshot " + name + ": " + error);
    }
    if (written == 0 && !options_.dumpPath.empty() &&
        !WriteOutputFile(options_.dumpPath, loop_->Dump(), error))
        written = Fail("cannot write dump " + pw::QuotedText(options_.dumpPath, 200) + ": " + error);
    return code_ != 0 ? code_ : recorded != 0 ? recorded : described != 0 ? described : written;
}

int Run(const std::vector<std::string>& args) {
    DesktopHost host;
    return host.Run(args);
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
