#include "app/ReplaySettingsFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pw {

ReplaySettingsFolder::~ReplaySettingsFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

bool ReplaySettingsFolder::Make(std::string& error) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string base = tmpdir != nullptr && tmpdir[0] != '\0' ? tmpdir : "/tmp";
    std::string pattern = base + "/pivotwarden-replay-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        error = "cannot make a settings folder for the replay in '" + base + "': " + std::strerror(errno);
        return false;
    }
    path_ = pattern;
    return true;
}

}  // namespace pw
