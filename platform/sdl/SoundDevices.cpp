#include "platform/sdl/SoundDevices.h"

#ifdef __linux__
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#endif

namespace pw {

#ifdef __linux__

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// An ALSA playback device: pcmC<card>D<device>p (the capture ones end in c).
bool HasPlaybackDevice(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        if (std::strncmp(entry->d_name, "pcmC", 4) == 0 && length > 4 && entry->d_name[length - 1] == 'p') {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

bool SoundMayBeThere(const std::string& root, const std::function<const char*(const char*)>& environment) {
    auto value = [&](const char* name) {
        const char* text = environment(name);
        return std::string(text != nullptr ? text : "");
    };
    // Chosen by the player: a driver for SDL, a device or a server.
    for (const char* name : {"SDL_AUDIODRIVER", "AUDIODEV", "AUDIODEVICE", "PULSE_SERVER", "PIPEWIRE_REMOTE",
                             "JACK_DEFAULT_SERVER"})
        if (!value(name).empty()) return true;
    if (HasPlaybackDevice(root + "/dev/snd") || Exists(root + "/dev/dsp")) return true;
    // A sound server of the user's or of the system's.
    const std::string runtime = value("XDG_RUNTIME_DIR");
    if (!runtime.empty() && (Exists(runtime + "/pulse/native") || Exists(runtime + "/pipewire-0"))) return true;
    if (Exists(root + "/run/pulse/native") || Exists(root + "/var/run/pulse/native")) return true;
    // Sound configured elsewhere: ALSA's own configuration, a PulseAudio
    // server named in the user's client configuration.
    if (Exists(root + "/etc/asound.conf")) return true;
    const std::string home = value("HOME");
    if (!home.empty() && (Exists(home + "/.asoundrc") || Exists(home + "/.pulse/client.conf"))) return true;
    std::string config = value("XDG_CONFIG_HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    return !config.empty() && Exists(config + "/pulse/client.conf");
}

#elif !defined(_WIN32)  // Windows: platform/windows/SoundDevices.cpp

bool SoundMayBeThere(const std::string&, const std::function<const char*(const char*)>&) { return true; }

#endif

}  // namespace pw
