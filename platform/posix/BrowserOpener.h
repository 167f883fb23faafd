#pragma once
// Opens a page in the desktop's browser through xdg-open, without waiting for
// it: the game plays on while the browser starts.
#include <string>

namespace pw {

// False, with the reason, when there is no xdg-open or it cannot be started
// (not a program the system can run).
bool OpenInBrowser(const std::string& path, std::string& reason);

}  // namespace pw
