#pragma once
// Hard-edged lettering from the game's committed font (no anti-aliasing, so no fringe over the key
// colour), laid out and drawn as the game draws its own text.
#include <string>

#include "Canvas.h"

namespace pw::tool {

class Lettering {
public:
    explicit Lettering(const std::string& fontPath) : fontPath_(fontPath) {}

    // The text (ASCII) in one colour on a key-coloured canvas of the text's line size.
    Canvas Render(const std::string& text, int pointSize, Rgb colour) const;

private:
    std::string fontPath_;
};

}  // namespace pw::tool
