#pragma once
#include <cstdint>
#include <string>

namespace pw {

// Reads text made only of decimal digits, at most `highest`; false for
// anything else (signs, blanks, empty text, too large).
bool ParseDecimal(const std::string& text, uint64_t highest, uint64_t& out);

}  // namespace pw
