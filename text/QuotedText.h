#pragma once
// Text from outside (a replay's line, a command-line argument) quoted in a
// message: control bytes and bytes beyond ASCII are shown as \xNN, so that a
// message can neither garble the terminal nor run over several lines, and a
// long text is cut.
#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

std::string QuotedText(std::string_view text, size_t maxBytes = 40);

}  // namespace pw
