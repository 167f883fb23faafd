#pragma once
// Opens a page with the program the player chose for it (ShellExecuteW),
// without waiting for it: the game plays on while the browser starts.
#include <string>

namespace pw {

// False, with the system's reason, when nothing could be started for it.
bool OpenInBrowser(const std::string& path, std::string& reason);

}  // namespace pw
