// What the desktop backend hands to the machine: screenshots as PNG files,
// output files, sounds on the audio device, and the browser it starts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "platform/EmbeddedResourceStore.h"
#include "platform/PngWriter.h"
#include "platform/QuitRequest.h"
#include "platform/posix/BrowserOpener.h"
#include "platform/posix/OutputFile.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SoundDevices.h"
#include "scene_test_support.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

TEST(PngWriterTest, DecodesToTheSamePixels) {
    const Surface picture = scenetest::Pattern(37, 23, 11);
    const std::vector<uint8_t> png = EncodePng(picture);
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(w, 37);
    ASSERT_EQ(h, 23);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const stbi_uc* p = rgb + (y * w + x) * 3;
            ASSERT_EQ(Rgb(p[0], p[1], p[2]), picture.At(x, y)) << x << "," << y;
        }
    stbi_image_free(rgb);
    EXPECT_TRUE(EncodePng(Surface(0, 0)).empty());
}

// A reader that holds a FIFO open and never reads: the game, writing its
// recording there, waits only until it is asked to end (SIGTERM), then gives
// up. Run in a child process, since the request is for the whole process.
TEST(OutputFileTest, AWriteToAReaderThatNeverReadsGivesUpWhenTheGameIsAskedToEnd) {
    TempFolder folder;
    const std::string fifo = folder.path + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(20);  // a write that waits for ever fails the test instead of hanging it
        const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        OutputFile file;
        std::string error;
        if (reader < 0 || !file.Open(fifo, error)) _exit(10);
        std::thread asker([]() {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            NoteQuitRequest();
        });
        const std::string lines(1 << 20, '\n');
        const bool written = file.Write(lines.data(), lines.size(), error);
        asker.join();
        _exit(written ? 11 : error.find("asked to end") != std::string::npos ? 0 : 12);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// The tests run with SDL's dummy audio driver, a device that plays in real time.
TEST(SdlSoundPlayerTest, ANewSoundCutsOffTheOnePlaying) {
    EmbeddedResourceStore resources;
    const SoundData* longest = nullptr;
    const SoundData* shortest = nullptr;
    SdlSoundPlayer player;
    // Asked for before the device is surely open: played once it is.
    for (int id : {20003, 20004, 20005, 20007, 20008, 20009}) {
        const SoundData* sound = resources.FindSound(id);
        ASSERT_NE(sound, nullptr) << id;
        ASSERT_GT(player.ConvertedBytes(sound), 0u) << id;
        if (longest == nullptr || player.ConvertedBytes(sound) > player.ConvertedBytes(longest))
            longest = sound;
        if (shortest == nullptr || player.ConvertedBytes(sound) < player.ConvertedBytes(shortest))
            shortest = sound;
    }
    player.Play(longest);
    ASSERT_TRUE(player.WaitForDevice());
    EXPECT_GT(player.QueuedBytes(), 0u);
    player.Play(shortest);
    EXPECT_LE(player.QueuedBytes(), player.ConvertedBytes(shortest));
    EXPECT_LT(player.ConvertedBytes(shortest), player.ConvertedBytes(longest));
}

TEST(SdlSoundPlayerTest, WithoutAnAudioDeviceTheGameIsSilent) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        EmbeddedResourceStore resources;
        SdlSoundPlayer player;
        player.Play(resources.FindSound(20003));
        EXPECT_FALSE(player.WaitForDevice());
        player.Play(resources.FindSound(20004));
        EXPECT_EQ(player.QueuedBytes(), 0u);
    }
    if (before != nullptr)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

// Without any sign of sound the game does not load the sound libraries; any
// one sign is enough to try.
TEST(SdlSoundPlayerTest, TheSoundLibrariesAreTriedOnAnySignOfSound) {
    TempFolder root;
    std::map<std::string, std::string> variables{{"HOME", root.path + "/home"},
                                                 {"XDG_RUNTIME_DIR", root.path + "/run/user"}};
    auto environment = [&](const char* name) -> const char* {
        auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
    auto make = [&](const std::string& path) {
        const std::string full = root.path + path;
        for (size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1))
            mkdir(full.substr(0, slash).c_str(), 0700);
        close(open(full.c_str(), O_CREAT | O_WRONLY, 0600));
    };
    auto remove = [&](const std::string& path) { unlink((root.path + path).c_str()); };
    // Capture devices and the card's control are no sound to play on.
    make("/dev/snd/pcmC0D0c");
    make("/dev/snd/controlC0");
    EXPECT_FALSE(SoundMayBeThere(root.path, environment));
    for (const char* sign : {"/dev/snd/pcmC1D3p", "/run/user/pulse/native", "/run/user/pipewire-0",
                             "/run/pulse/native", "/etc/asound.conf", "/home/.asoundrc",
                             "/home/.config/pulse/client.conf"}) {
        make(sign);
        EXPECT_TRUE(SoundMayBeThere(root.path, environment)) << sign;
        remove(sign);
    }
    EXPECT_FALSE(SoundMayBeThere(root.path, environment));
    for (const char* name : {"SDL_AUDIODRIVER", "PULSE_SERVER", "AUDIODEV"}) {
        variables[name] = "x";
        EXPECT_TRUE(SoundMayBeThere(root.path, environment)) << name;
        variables[name] = "";
        EXPECT_FALSE(SoundMayBeThere(root.path, environment)) << name << " empty";
        variables.erase(name);
    }
}

// The program that opens the view starts as from a shell, whatever the game
// blocks or ignores; one that cannot start, or fails at once, is said.
TEST(BrowserOpenerTest, TheOpenerGetsTheStopSignalsBackAndOneThatCannotStartOrFailsIsSaid) {
    TempFolder folder;
    const std::string opener = folder.path + "/xdg-open", seen = folder.path + "/seen";
    // The shell's own signal state as it was started, read with builtins
    // alone before it runs anything (a shell blocks signals of its own while
    // it waits for a command it started), then written whole.
    std::ofstream(opener) << "#!/bin/sh\nwhile read -r name value; do case $name in SigBlk:|SigIgn:) "
                             "echo \"$name $value\";; esac; done < /proc/$$/status > \"$1.part\"\n"
                             "mv \"$1.part\" \"$1\"\n";
    ASSERT_EQ(chmod(opener.c_str(), 0700), 0);
    const char* path = std::getenv("PATH");
    const std::string savedPath = path != nullptr ? path : "";
    setenv("PATH", (folder.path + ":" + savedPath).c_str(), 1);
    sigset_t stops, before;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    ASSERT_EQ(sigprocmask(SIG_BLOCK, &stops, &before), 0);
    struct sigaction ignore {
    }, saved[3];
    ignore.sa_handler = SIG_IGN;
    const int ignored[] = {SIGINT, SIGPIPE, SIGXFSZ};
    for (int i = 0; i < 3; ++i) sigaction(ignored[i], &ignore, &saved[i]);
    std::string reason;
    const bool opened = OpenInBrowser(seen, reason);
    for (int i = 0; i < 3; ++i) sigaction(ignored[i], &saved[i], nullptr);
    sigprocmask(SIG_SETMASK, &before, nullptr);
    ASSERT_TRUE(opened) << reason;
    for (int i = 0; i < 1000 && access(seen.c_str(), F_OK) != 0; ++i) usleep(10000);
    std::ifstream status(seen);
    std::map<std::string, unsigned long long> masks;
    for (std::string name, hex; status >> name >> hex;) masks[name] = std::stoull(hex, nullptr, 16);
    ASSERT_EQ(masks.size(), 2u) << "the opener did not run";
    const unsigned long long mine =
        1ull << (SIGINT - 1) | 1ull << (SIGTERM - 1) | 1ull << (SIGPIPE - 1) | 1ull << (SIGXFSZ - 1);
    EXPECT_EQ(masks["SigBlk:"] & mine, 0u) << std::hex << masks["SigBlk:"];
    EXPECT_EQ(masks["SigIgn:"] & mine, 0u) << std::hex << masks["SigIgn:"];

    std::ofstream(opener, std::ios::trunc) << "#!/no/such/shell\n";
    EXPECT_FALSE(OpenInBrowser(seen, reason));
    EXPECT_NE(reason.find("cannot be started"), std::string::npos) << reason;
    // No program for pages: xdg-open starts but fails at once.
    std::ofstream(opener, std::ios::trunc) << "#!/bin/sh\nexit 3\n";
    EXPECT_FALSE(OpenInBrowser(seen, reason));
    EXPECT_NE(reason.find("ended with status 3"), std::string::npos) << reason;
    setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
}  // namespace pw
