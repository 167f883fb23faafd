#pragma once
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace pw {

// The picture as the bytes of an 8-bit RGB PNG file; empty when it has no pixels.
std::vector<uint8_t> EncodePng(const Surface& picture);

}  // namespace pw
