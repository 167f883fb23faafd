#include "text/DecimalText.h"

namespace pw {

bool ParseDecimal(const std::string& text, uint64_t highest, uint64_t& out) {
    // Twelve digits hold any 32-bit value with room to spare and cannot
    // overflow 64 bits.
    if (text.empty() || text.size() > 12) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > highest) return false;
    out = v;
    return true;
}

}  // namespace pw
