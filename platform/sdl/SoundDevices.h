#pragma once
// Whether a sound device or sound server may be there to open. Opening the
// audio device on a machine with neither (a server, a container, a virtual
// machine) still loads and probes every sound library, about a megabyte of
// memory kept for the whole game, to find nothing. Any sign of sound counts:
// a driver, server or device named in the environment, a sound server's
// socket, a playback device, the user's own sound configuration. On Windows
// the audio service's list of playback devices answers; elsewhere the answer is
// always yes.
#include <functional>
#include <string>

namespace pw {

// root prefixes the system's paths ("" for the real ones); environment
// reads a variable (nullptr when unset).
bool SoundMayBeThere(const std::string& root, const std::function<const char*(const char*)>& environment);

}  // namespace pw
