#pragma once
// The player's settings in the real registry: keys below
// HKEY_CURRENT_USER, each value a string (REG_SZ) holding the same text the
// desktop's settings file holds, so "score" is the string "48". A value of
// another type (a DWORD someone stored by hand) reads as missing, as it does
// in the file, and the next write replaces it with a string. A write that
// fails (a policy that locks the key, say) does not stop play: the first one
// is reported (OnWriteFailure), once for the run.
#include <functional>
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/TextRegistry.h"

namespace pw {

class WindowsRegistry : public Registry {
public:
    // Null when the key can neither be opened nor created (a policy that
    // locks the user's hive, say); the game then plays on its defaults.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;

    // Called with a one-line message for the first write that fails from now on.
    void OnWriteFailure(std::function<void(const std::string&)> report) {
        failures_.report = std::move(report);
        failures_.reported = false;
    }

private:
    TextRegistry::WriteFailures failures_;
};

}  // namespace pw
