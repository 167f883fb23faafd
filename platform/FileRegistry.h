#pragma once
// The registry on the desktop: each key is a folder below the user's
// configuration folder whose file settings.reg holds the key's values in the
// text form of a registry export. The key "Software\Marblequill\Pivotwarden"
// lives in ${XDG_CONFIG_HOME:-$HOME/.config}/Marblequill/Pivotwarden/settings.reg.
//
// A key holds no open file: every read opens, reads and closes the file, and
// every write replaces the whole file atomically (a temporary file in the same
// folder, flushed to disk and renamed over the old one), so a crash at any
// moment leaves either the old or the new settings whole. Stray temporary
// files from such a crash are named ".settings.reg.XXXXXX" and never read.
//
// A file that cannot be made sense of never stops the game: a file larger than
// kMaxFileBytes or holding zero bytes (binary data) reads as having no values,
// and the next write replaces it with a sound file. A file that exists but
// cannot be opened (no permission, not a regular file) also reads as having no
// values, but is never replaced, since what it holds is unknown.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace pw {

class FileRegistry : public Registry {
public:
    static constexpr size_t kMaxFileBytes = 1 << 20;
    static constexpr const char* kFileName = "settings.reg";

    // Keys below the user's configuration folder (DefaultConfigRoot).
    FileRegistry();
    // Keys below configRoot instead, for tests and tools; an empty configRoot
    // means the user's configuration folder.
    explicit FileRegistry(std::string configRoot);

    // Creates the key's folder, and any folder above it, when missing. Null
    // when the folder can neither be found nor created, and for a path that
    // would leave the configuration folder (empty parts, "." or "..", '/').
    // A leading "Software\" is dropped from the folder's path.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;

    // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config (the
    // home folder from the user database when HOME is unset); empty when
    // there is no home folder at all, and then every CreateKey fails.
    static std::string DefaultConfigRoot();

private:
    std::string configRoot;
};

}  // namespace pw
