#pragma once
// Hands a line of the game's spoken descriptions to the page, which puts it
// in its live region for the player's screen reader.
#include <string>

namespace pw {

void SayOnPage(const std::string& line);

}  // namespace pw
