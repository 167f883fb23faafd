// The settings file as anything a disk may hold: written as settings.reg, then
// read through the registry stand-in and the settings store. Reading must never
// crash; values read back as written; a write leaves the other values as they
// read before it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/FileRegistry.h"
#include "settings/SettingsStore.h"
#include "tests/fuzz/FuzzFolder.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    std::abort();
}

struct Values {
    bool found[3];
    std::string text[3];
};

const char* const kNames[3] = {"score", "level", "auto"};
// A buffer no value of a settings file can overflow.
constexpr size_t kAnyLength = 4 * pw::FileRegistry::kMaxFileBytes;

Values ReadAll(pw::RegistryKey& key) {
    Values values;
    for (int i = 0; i < 3; ++i) {
        values.found[i] = key.ReadValue(kNames[i], values.text[i], kAnyLength);
        // A value is readable exactly when its size is known.
        Require(key.ValueSize(kNames[i]).has_value() == values.found[i],
                "ValueSize disagrees with ReadValue");
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pw::fuzz::FuzzFolder& folder = pw::fuzz::Folder();
    folder.Clear();
    std::filesystem::create_directories(folder.KeyFolder());
    {
        std::ofstream file(folder.SettingsFile(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    pw::FileRegistry registry(folder.root);

    // The store as the game loads it: every value inside its range.
    pw::SettingsContext context(registry);
    pw::SettingsStore& store = pw::SettingsStore::Acquire(context);
    Require(store.level >= 1 && store.level <= 15, "level out of range");
    Require(store.score >= 0 && store.score <= pw::SettingsStore::kHighestScore, "score out of range");
    const int32_t score = static_cast<int32_t>(size * 37 % 1000000);
    store.WriteValue("score", score);
    // A file over the limit is neither read nor replaced.
    if (size <= pw::FileRegistry::kMaxFileBytes)
        Require(store.ReadValue("score", 0, pw::SettingsStore::kHighestScore) == score,
                "score did not read back");
    else
        Require(store.ReadValue("score", 0, pw::SettingsStore::kHighestScore) == 0,
                "a file over the limit was read or replaced");
    pw::SettingsStore::Release(context);

    // The registry key itself: a value written with text from the input reads
    // back exactly, and the other values keep what they read before.
    std::unique_ptr<pw::RegistryKey> key = registry.CreateKey(pw::SettingsStore::kKeyPath);
    Require(key != nullptr, "the key cannot be opened");
    const Values before = ReadAll(*key);
    const std::string text(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
    if (key->WriteValue("fuzz", text)) {
        std::string back;
        // Bytes that are not UTF-8 may count as two characters each.
        Require(key->ReadValue("fuzz", back, 2 * text.size() + 1), "a written value does not read back");
        Require(back == text, "a written value reads back changed");
        const Values after = ReadAll(*key);
        for (int i = 0; i < 3; ++i) {
            Require(after.found[i] == before.found[i], "a write lost or invented another value");
            Require(after.text[i] == before.text[i], "a write changed another value");
        }
    }
    return 0;
}
