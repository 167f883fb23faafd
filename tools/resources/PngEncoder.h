#pragma once
// PNG files for the desktop icon theme; key-coloured pixels become fully transparent.
#include <string>

#include "Canvas.h"

namespace pw::tool {

void WritePng(const std::string& path, const Canvas& canvas);

}  // namespace pw::tool
