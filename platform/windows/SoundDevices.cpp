#include "platform/sdl/SoundDevices.h"

#include <windows.h>

#include <string>

namespace pw {

namespace {

// Where the system's audio service lists the playback devices it knows: a key
// per device, with its state. Reading it loads nothing; asking the audio
// libraries themselves (even only for a count, waveOutGetNumDevs) loads as
// many libraries as opening the device does.
const wchar_t kPlaybackDevices[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\Render";
constexpr DWORD kActive = 1;  // DEVICE_STATE_ACTIVE: there and enabled

// Whether the device's key says it plays: active, or with no state given.
bool DevicePlays(HKEY devices, const wchar_t* name) {
    DWORD state = 0, size = sizeof state;
    const LSTATUS read =
        RegGetValueW(devices, name, L"DeviceState", RRF_RT_REG_DWORD, nullptr, &state, &size);
    return read == ERROR_FILE_NOT_FOUND || (read == ERROR_SUCCESS && state == kActive);
}

}  // namespace

// A system without the list (Wine before its first look for devices) may
// have sound; one whose list holds no playing device has none.
bool SoundMayBeThere(const std::string&, const std::function<const char*(const char*)>&) {
    HKEY devices = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPlaybackDevices, 0, KEY_READ, &devices) != ERROR_SUCCESS)
        return true;
    bool plays = false;
    wchar_t name[256];
    for (DWORD index = 0; !plays; ++index) {
        DWORD length = sizeof name / sizeof name[0];
        const LSTATUS listed =
            RegEnumKeyExW(devices, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (listed == ERROR_NO_MORE_ITEMS) break;
        plays = listed != ERROR_SUCCESS || DevicePlays(devices, name);
    }
    RegCloseKey(devices);
    return plays;
}

}  // namespace pw
