#pragma once
// The private settings folder of one replay, in ${TMPDIR:-/tmp}, removed with
// everything in it when the replay ends. A replay plays on settings of its
// own, so that it ends the same way every time and never touches the
// player's score and level.
#include <string>

namespace pw {

class ReplaySettingsFolder {
public:
    ReplaySettingsFolder() = default;
    ~ReplaySettingsFolder();
    ReplaySettingsFolder(const ReplaySettingsFolder&) = delete;
    ReplaySettingsFolder& operator=(const ReplaySettingsFolder&) = delete;

    // False with a message naming the folder it tried.
    bool Make(std::string& error);
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace pw
