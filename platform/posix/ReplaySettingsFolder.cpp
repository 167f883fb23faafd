#include "platform/posix/ReplaySettingsFolder.h"

#include <ftw.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pw {

namespace {

int RemoveOne(const char* path, const struct stat*, int, struct FTW*) {
    std::remove(path);
    return 0;  // on with the rest whatever happened to this one
}

}  // namespace

ReplaySettingsFolder::~ReplaySettingsFolder() {
    // Contents first, links not followed out of the folder.
    if (!path_.empty()) nftw(path_.c_str(), RemoveOne, 8, FTW_DEPTH | FTW_PHYS);
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
