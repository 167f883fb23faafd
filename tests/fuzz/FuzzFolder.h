#pragma once
// One settings folder for the whole fuzzing process, in memory when possible
// (every settings write is flushed to disk), removed at exit.
#include <filesystem>
#include <string>

#include "tools/autoplay/TempFolder.h"

namespace pw::fuzz {

class FuzzFolder {
public:
    std::string KeyFolder() const { return root + "/Marblequill/Pivotwarden"; }
    std::string SettingsFile() const { return KeyFolder() + "/settings.reg"; }
    // Starts an input from no settings at all.
    void Clear() const {
        std::error_code ignored;
        std::filesystem::remove_all(root + "/Marblequill", ignored);
    }

    TempFolder folder;
    std::string root = folder.path;
};

inline const FuzzFolder& Folder() {
    static const FuzzFolder folder;
    return folder;
}

}  // namespace pw::fuzz
