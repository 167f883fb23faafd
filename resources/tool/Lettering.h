#pragma once
// Hard-edged lettering from the game's committed font (no anti-aliasing, so no fringe over the key
// colour).
#include <string>

#include "Canvas.h"

typedef struct _TTF_Font TTF_Font;

namespace pw::tool {

class Lettering {
public:
    explicit Lettering(const std::string& fontPath);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // The text in one colour on a key-coloured canvas of the text's cell size.
    Canvas Render(const std::string& utf8, int pointSize, Rgb colour) const;

private:
    std::string fontPath_;
};

}  // namespace pw::tool
