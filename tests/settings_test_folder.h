#pragma once
// A fresh configuration folder for one settings test, removed afterwards, so
// that no test ever touches the user's own settings.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace pw::testing {

class SettingsTestFolder {
public:
    SettingsTestFolder() {
        char pattern[] = "/tmp/pw-settings-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a temporary folder");
        root = pattern;
    }
    ~SettingsTestFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // A test may have left a folder read-only; removal needs it writable.
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto it = fs::recursive_directory_iterator(root, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root, ignored);
    }
    SettingsTestFolder(const SettingsTestFolder&) = delete;
    SettingsTestFolder& operator=(const SettingsTestFolder&) = delete;

    std::string KeyFolder() const { return root + "/Marblequill/Pivotwarden"; }
    std::string SettingsFile() const { return KeyFolder() + "/settings.reg"; }

    // Whether a file can be made in folder; root can even in a read-only one.
    static bool CanCreateFileIn(const std::string& folder) {
        std::string probe = folder + "/.probe";
        int fd = open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0) return false;
        close(fd);
        unlink(probe.c_str());
        return true;
    }

    std::string root;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace pw::testing
