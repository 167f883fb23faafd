#include "replay/ReplaySettings.h"

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "settings/SettingsStore.h"

namespace pw {

ReplayHeader RecordedStart(const SettingsStore& settings, uint32_t seed) {
    ReplayHeader header;
    header.seed = seed;
    header.score = settings.score;
    header.level = settings.level;
    header.autoOff = settings.autoAdjust != 0 ? 0 : 1;
    return header;
}

bool StoreReplayStart(Registry& registry, const ReplayHeader& header) {
    if (!header.score && !header.level && !header.autoOff) return true;
    std::unique_ptr<RegistryKey> key = registry.CreateKey(SettingsStore::kKeyPath);
    if (key == nullptr) return false;
    const std::pair<const char*, const std::optional<int32_t>&> values[] = {
        {"score", header.score}, {"level", header.level}, {"auto", header.autoOff}};
    for (const auto& [name, value] : values)
        if (value && !key->WriteValue(name, std::to_string(*value))) return false;
    return true;
}

}  // namespace pw
