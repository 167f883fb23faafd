#pragma once
// The registry's texts as files below a root folder (the user's
// configuration folder): the text "Marblequill/Pivotwarden/settings.reg" is
// that file below it. Folders are made private (0700) when missing.
//
// Every read opens, reads and closes the file; every write replaces the whole
// file atomically (a temporary file in the same folder, flushed to disk and
// renamed over the old one), so a crash at any moment leaves either the old
// or the new file whole. A file that is a symbolic link keeps the link: the
// file it leads to is replaced, and keeps its permissions. Stray temporary
// files from such a crash are named ".settings.reg.XXXXXX" and never read.
// A file that exists but cannot be opened (no permission, not a regular
// file) is unreachable; one without write permission is the player's to keep.
#include <string>

#include "platform/TextStorage.h"

namespace pw {

class FileTextStorage : public TextStorage {
public:
    // The player's settings are written crash-safe; settings that are thrown
    // away after the run are rewritten in place, with neither a temporary
    // file nor a wait for the disk.
    enum class Durability { CrashSafe, Discardable };

    // An empty root has no files: every Prepare fails.
    explicit FileTextStorage(std::string root, Durability durability = Durability::CrashSafe)
        : root_(std::move(root)), durability_(durability) {}

    bool Prepare(const std::string& name) override;
    Loaded Load(const std::string& name, size_t limit) override;
    bool Save(const std::string& name, const std::string& bytes, std::string& reason) override;
    std::string Where(const std::string& name) const override { return root_ + "/" + name; }

    // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config (the
    // home folder from the user database when HOME is unset or relative,
    // since relative paths are to be ignored); empty when there is no home
    // folder at all.
    static std::string DefaultConfigRoot();

private:
    std::string root_;
    Durability durability_;
};

}  // namespace pw
