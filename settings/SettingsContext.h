#pragma once
// Where one game keeps its settings store: the registry it is loaded from and
// written to, and the store itself while anything holds it. Every game has a
// context of its own, so two games in one process (the player's and How to
// play's, say) never share a score, a level or a list of results.
#include <cstdint>

namespace pw {

class Registry;
class SettingsStore;

class SettingsContext {
public:
    explicit SettingsContext(Registry& registry_) : registry(registry_) {}
    ~SettingsContext();
    SettingsContext(const SettingsContext&) = delete;
    SettingsContext& operator=(const SettingsContext&) = delete;

    Registry& registry;

private:
    friend class SettingsStore;
    SettingsStore* store = nullptr;
    int32_t count = 0;
};

}  // namespace pw
