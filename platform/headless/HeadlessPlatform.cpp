#include "platform/headless/HeadlessPlatform.h"

namespace pw {

HeadlessPlatform::HeadlessPlatform(const std::string& configRoot)
    : registry(configRoot), platform_{window, resources, text, sound, clock, registry, time} {}

}  // namespace pw
