#pragma once
// Number and string helpers for the game's UTF-16 texts.
#include <cstdint>
#include <string>

namespace pw {

// The number as "%d" writes it.
std::u16string FormatInt(int32_t value);
// UTF-16 to UTF-8, for file names, dumps and the window title.
std::string ToUtf8(const std::u16string& text);

}  // namespace pw
