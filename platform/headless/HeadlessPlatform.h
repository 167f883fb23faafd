#pragma once
// Everything the game needs, without a window or an audio device. Settings go
// to the given config folder (the user's when empty).
#include <memory>
#include <string>

#include "platform/AtlasTextRenderer.h"
#include "platform/EmbeddedResourceStore.h"
#include "platform/posix/FileRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindow.h"

namespace pw {

class HeadlessPlatform {
public:
    explicit HeadlessPlatform(const std::string& configRoot = "");
    Platform& Get() { return platform_; }

    HeadlessWindow window;
    EmbeddedResourceStore resources;
    AtlasTextRenderer text;
    RecordingSoundPlayer sound;
    VirtualClock clock;
    FileRegistry registry;
    FixedTime time;

private:
    Platform platform_;
};

}  // namespace pw
