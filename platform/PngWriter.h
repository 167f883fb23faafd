#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace pw {

// The picture as the bytes of an 8-bit RGB PNG file; empty when it has no pixels.
std::vector<uint8_t> EncodePng(const Surface& picture);

// Writes the picture as a PNG file; false with a message when it cannot.
bool WritePng(const Surface& picture, const std::string& path, std::string& error);

}  // namespace pw
