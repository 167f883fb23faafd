#include "platform/sdl/SoundDevices.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace pw {

// The system's count of playback devices: asking for it loads none of the
// libraries that opening the device does.
bool SoundMayBeThere(const std::string&, const std::function<const char*(const char*)>&) {
    return waveOutGetNumDevs() > 0;
}

}  // namespace pw
