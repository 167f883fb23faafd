#pragma once
// Opens a page in the desktop's browser through xdg-open, without waiting for
// it: the game plays on while the browser starts.
#include <string>

namespace pw {

// False, with the reason, when there is no xdg-open, it cannot be started
// (not a program the system can run), or it ends at once with a failure (no
// program for pages); one still running after a moment has worked.
bool OpenInBrowser(const std::string& path, std::string& reason);

}  // namespace pw
