#pragma once
// The registry on the desktop: each key is a folder below the user's
// configuration folder whose file settings.reg holds the key's values in the
// text form of a registry export. The key "Software\Marblequill\Pivotwarden"
// lives in ${XDG_CONFIG_HOME:-$HOME/.config}/Marblequill/Pivotwarden/settings.reg.
//
// A key holds no open file: every read opens, reads and closes the file, and
// every write replaces the whole file atomically (a temporary file in the same
// folder, flushed to disk and renamed over the old one), so a crash at any
// moment leaves either the old or the new settings whole. A settings file that
// is a symbolic link keeps the link: the file it leads to is replaced, and
// keeps its permissions. The file is read as UTF-8, or as UTF-16 when it
// starts with a byte order mark (as the system's own exports are), and always
// written as UTF-8. Stray temporary
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

    // The player's settings are written crash-safe; settings that are thrown
    // away after the run (a replay's) are rewritten in place, with neither a
    // temporary file nor a wait for the disk.
    enum class Durability { CrashSafe, Discardable };

    // Keys below the user's configuration folder (DefaultConfigRoot).
    FileRegistry();
    // Keys below configRoot instead, for tests, tools and replays; an empty
    // configRoot means the user's configuration folder.
    explicit FileRegistry(std::string configRoot, Durability durability = Durability::CrashSafe);

    // Creates the key's folder, and any folder above it, when missing. Null
    // when the folder can neither be found nor created, and for a path that
    // would leave the configuration folder (empty parts, "." or "..", '/').
    // A leading "Software\" is dropped from the folder's path.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;

    // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config (the
    // home folder from the user database when HOME is unset or relative,
    // since relative paths are to be ignored); empty when
    // there is no home folder at all, and then every CreateKey fails.
    static std::string DefaultConfigRoot();

private:
    std::string configRoot;
    Durability durability = Durability::CrashSafe;
};

}  // namespace pw
