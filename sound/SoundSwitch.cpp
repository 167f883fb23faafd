#include "sound/SoundSwitch.h"

#include <memory>

#include "settings/SettingsStore.h"

namespace pw {

void SoundSwitch::Play(const SoundData* sound) {
    if (!muted_) player_.Play(sound);
}

void SoundSwitch::Load(Registry& registry) {
    std::unique_ptr<RegistryKey> key = registry.CreateKey(SettingsStore::kKeyPath);
    std::string text;
    muted_ = key && key->ReadValue(kValueName, text, SettingsStore::kTextBufferChars) && text == "0";
}

void SoundSwitch::Toggle(Registry& registry) {
    muted_ = !muted_;
    std::unique_ptr<RegistryKey> key = registry.CreateKey(SettingsStore::kKeyPath);
    if (key) key->WriteValue(kValueName, muted_ ? "0" : "1");
}

}  // namespace pw
