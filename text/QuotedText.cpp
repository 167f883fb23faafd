#include "text/QuotedText.h"

#include <cstdio>

namespace pw {

std::string QuotedText(std::string_view text, size_t maxBytes) {
    std::string out = "'";
    for (size_t i = 0; i < text.size() && i < maxBytes; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7F || c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > maxBytes) out += "...";
    return out + "'";
}

}  // namespace pw
