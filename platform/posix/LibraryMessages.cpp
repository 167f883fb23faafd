#include "platform/posix/LibraryMessages.h"

#include <dlfcn.h>

#include <cstdarg>

namespace pw {

namespace {

// As the libraries declare them; their headers are not needed for this.
using SoundErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                   const char* format, ...);
using SetSoundErrorHandler = int (*)(SoundErrorHandler);
using WaylandLogHandler = void (*)(const char* format, va_list arguments);
using SetWaylandLogHandler = void (*)(WaylandLogHandler);

void IgnoreSoundError(const char*, int, const char*, int, const char*, ...) {}
void IgnoreWaylandLog(const char*, va_list) {}

// The library as SDL will use it: already loaded when SDL links it, loaded
// here first when SDL loads it itself later. Kept loaded for the run, so
// the handler set in it stays in force.
void* Library(const char* name) {
    void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
    return library != nullptr ? library : dlopen(name, RTLD_LAZY | RTLD_LOCAL);
}

}  // namespace

void QuietLibraryMessages() {
    if (void* sound = Library("libasound.so.2")) {
        if (auto set = reinterpret_cast<SetSoundErrorHandler>(dlsym(sound, "snd_lib_error_set_handler")))
            set(IgnoreSoundError);
    }
    if (void* wayland = Library("libwayland-client.so.0")) {
        if (auto set = reinterpret_cast<SetWaylandLogHandler>(dlsym(wayland, "wl_log_set_handler_client")))
            set(IgnoreWaylandLog);
    }
}

}  // namespace pw
