// Pivotwarden: the desktop host. Reads the host options, picks the window
// or the headless backend, runs the game and, at the end, writes the
// screenshot and the scene dump when asked.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/HostOptions.h"
#include "app/MainLoop.h"
#include "app/Replay.h"
#include "app/SceneDump.h"
#include "platform/AtlasTextRenderer.h"
#include "platform/EmbeddedResourceStore.h"
#include "platform/FileRegistry.h"
#include "platform/PngWriter.h"
#include "platform/RaiseListener.h"
#include "platform/SdlRuntime.h"
#include "platform/SingleInstance.h"
#include "platform/SystemServices.h"
#include "platform/TextFormat.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SdlWindow.h"
#include "resources/EmbeddedResources.h"
#include "resources/ResourceIds.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "pivotwarden: %s\n", message.c_str());
    return 2;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            error = "cannot write dump '" + path + "'";
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write dump '" + path + "'";
        return false;
    }
    return true;
}

// A temporary settings folder, removed when the run ends.
struct ReplaySettingsFolder {
    std::string path;
    bool Make(std::string& error) {
        char pattern[] = "/tmp/pivotwarden-replay-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            error = "cannot make a settings folder for the replay in /tmp";
            return false;
        }
        path = pattern;
        return true;
    }
    ~ReplaySettingsFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

// Writes what was asked for once the run has ended.
int Finish(const pw::HostOptions& options, pw::MainLoop& loop, pw::Window& window, pw::Registry& registry) {
    std::string error;
    if (!options.screenshotPath.empty() && !pw::WritePng(window.Shown(), options.screenshotPath, error))
        return Fail(error);
    if (!options.dumpPath.empty() &&
        !WriteTextFile(options.dumpPath, pw::DumpScene(loop.App(), registry), error))
        return Fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    pw::HostOptions options;
    std::string error;
    if (!pw::ParseHostOptions(args, options, error)) return Fail(error);
    if (options.showHelp) {
        std::fputs(pw::HostUsage().c_str(), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("pivotwarden %s\n", PW_VERSION);
        return 0;
    }

    pw::Replay replay;
    if (!options.replayPath.empty()) {
        if (!pw::LoadReplay(options.replayPath, replay, error)) return Fail(error);
        if (replay.seed) options.seed = replay.seed;
    }

    // A replay plays against fresh settings of its own, so that it ends the
    // same way every time and never touches the player's score and level.
    ReplaySettingsFolder replaySettings;
    if (!options.replayPath.empty() && !replaySettings.Make(error)) return Fail(error);

    pw::SdlRuntime sdl(!options.headless);
    pw::EmbeddedResourceStore resources;
    pw::AtlasTextRenderer text;
    pw::FileRegistry registry(replaySettings.path);
    pw::LocalSystemTime localTime;
    pw::SystemClock systemClock;
    pw::VirtualClock virtualClock;
    const bool replaying = !options.replayPath.empty();
    pw::Clock& clock = replaying ? static_cast<pw::Clock&>(virtualClock) : systemClock;

    if (options.headless) {
        pw::HeadlessWindow window;
        pw::RecordingSoundPlayer sound;
        pw::Platform platform{window, resources, text, sound, clock, registry, localTime};
        pw::MainLoop loop(platform);
        loop.Start(options.seed);
        if (replaying) loop.RunReplay(replay, virtualClock);
        // Without a replay nothing can happen headless: the first frame is
        // the whole run, and a recording of it holds the seed and its end.
        pw::ReplayRecorder recorder;
        if (!options.recordPath.empty()) {
            if (!recorder.Open(options.recordPath, loop.Seed(), error)) return Fail(error);
            recorder.Record(pw::ReplayEvent{clock.Now(), pw::ReplayEvent::Type::End, 0, 0});
        }
        return Finish(options, loop, window, registry);
    }

    if (!sdl.VideoReady()) return Fail("cannot start the window system: " + sdl.Error());
    pw::SingleInstance instance;
    const auto claim = replaying ? pw::SingleInstance::Claim::First : instance.ClaimOrSignal();
    if (claim == pw::SingleInstance::Claim::AnotherRuns) return 0;
    if (claim == pw::SingleInstance::Claim::NoAnswer) return Fail(instance.Problem());
    if (claim == pw::SingleInstance::Claim::Unavailable)
        std::fprintf(stderr, "pivotwarden: playing without the one-copy check: %s\n",
                     instance.Problem().c_str());

    pw::SdlWindow window;
    const std::string title = pw::ToUtf8(resources.LoadString(pw::res::kWindowTitle, 100));
    if (!window.Open(title, options.scale, options.fullscreen, error)) return Fail(error);
    if (const pw::EmbeddedResource* icon = pw::FindEmbedded(pw::EmbeddedKind::Icon, pw::res::kAppIcon))
        window.SetIcon(icon->begin, icon->Size());
    pw::RaiseListener raiseListener(instance, [&window]() { window.RequestRaise(); });
    pw::SdlSoundPlayer sound;
    pw::Platform platform{window, resources, text, sound, clock, registry, localTime};
    pw::MainLoop loop(platform);
    loop.Start(options.seed);
    window.Show();
    pw::ReplayRecorder recorder;
    if (!options.recordPath.empty() && !recorder.Open(options.recordPath, loop.Seed(), error))
        return Fail(error);
    int code = replaying ? loop.RunReplay(replay, virtualClock)
                         : loop.RunLive(recorder.IsOpen() ? &recorder : nullptr);
    const int finished = Finish(options, loop, window, registry);
    return code != 0 ? code : finished;
}
