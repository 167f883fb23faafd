#pragma once
// Windows speaks UTF-16; the game's own strings (paths, settings, messages)
// are UTF-8. These convert between the two and put the system's reason for a
// failure into words.
#include <string>

namespace pw {

// Invalid sequences become U+FFFD rather than cutting the text short.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// The system's message for an error code (GetLastError()), without the line
// break Windows ends it with; "error N" when the system has none.
std::string SystemMessage(unsigned long code);

}  // namespace pw
