#pragma once
// One settings folder for the whole fuzzing process, in memory when possible
// (every settings write is flushed to disk), removed at exit.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace pw::fuzz {

class FuzzFolder {
public:
    FuzzFolder() {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/pw-fuzz-XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                root = pattern;
                break;
            }
        }
        if (root.empty()) abort();
    }
    ~FuzzFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::string KeyFolder() const { return root + "/Marblequill/Pivotwarden"; }
    std::string SettingsFile() const { return KeyFolder() + "/settings.reg"; }
    // Starts an input from no settings at all.
    void Clear() const {
        std::error_code ignored;
        std::filesystem::remove_all(root + "/Marblequill", ignored);
    }

    std::string root;
};

inline const FuzzFolder& Folder() {
    static const FuzzFolder folder;
    return folder;
}

}  // namespace pw::fuzz
