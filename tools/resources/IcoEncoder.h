#pragma once
// Windows icon files: one 16-colour image per canvas, key-coloured pixels transparent through the AND
// mask.
#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

namespace pw::tool {

std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& images, const std::string& name);

}  // namespace pw::tool
