#pragma once
#include <string>

#include "platform/Surface.h"

namespace pw {

// Writes the picture as a PNG file; false with a message when it cannot.
bool WritePng(const Surface& picture, const std::string& path, std::string& error);

}  // namespace pw
