#pragma once
// The registry on the desktop: the one registry (TextRegistry) over files
// below the user's configuration folder, so that the key
// "Software\Marblequill\Pivotwarden" lives in
// ${XDG_CONFIG_HOME:-$HOME/.config}/Marblequill/Pivotwarden/settings.reg.
// How the texts are read and when they are replaced is TextRegistry's; how
// the files are written is FileTextStorage's.
#include <cstddef>
#include <string>

#include "platform/TextRegistry.h"
#include "platform/posix/FileTextStorage.h"

namespace pw {

namespace detail {
// Built before the registry that keeps a reference to it.
struct FileRegistryStorage {
    FileTextStorage files;
};
}  // namespace detail

class FileRegistry : private detail::FileRegistryStorage, public TextRegistry {
public:
    static constexpr size_t kMaxFileBytes = kMaxTextBytes;
    static constexpr const char* kFileName = "settings.reg";
    using Durability = FileTextStorage::Durability;

    // Keys below the user's configuration folder (DefaultConfigRoot).
    FileRegistry() : FileRegistry(std::string()) {}
    // Keys below configRoot instead, for tests and tools; an empty configRoot
    // means the user's configuration folder.
    explicit FileRegistry(std::string configRoot, Durability durability = Durability::CrashSafe)
        : detail::FileRegistryStorage{FileTextStorage(
              configRoot.empty() ? FileTextStorage::DefaultConfigRoot() : std::move(configRoot), durability)},
          TextRegistry(files) {}

    static std::string DefaultConfigRoot() { return FileTextStorage::DefaultConfigRoot(); }
};

}  // namespace pw
