#pragma once
// The player's settings in the real registry: keys below
// HKEY_CURRENT_USER, each value a string (REG_SZ) holding the same text the
// desktop's settings file holds, so "score" is the string "48". A value of
// another type (a DWORD someone stored by hand) reads as missing, as it does
// in the file, and the next write replaces it with a string.
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace pw {

class WindowsRegistry : public Registry {
public:
    // Null when the key can neither be opened nor created (a policy that
    // locks the user's hive, say); the game then plays on its defaults.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;
};

}  // namespace pw
