#pragma once
// The colour table of an indexed picture, built from the colours a canvas uses.
#include <string>
#include <vector>

#include "Canvas.h"

namespace pw::tool {

class Palette {
public:
    // Collects the canvas's colours, the key colour always first so that every picture can be keyed.
    // Throws when more than maxColours are needed: the artwork must be drawn within its palette.
    static Palette FromCanvas(const Canvas& canvas, size_t maxColours, const std::string& name);

    size_t Size() const { return colours_.size(); }
    const Rgb& operator[](size_t i) const { return colours_[i]; }
    uint8_t IndexOf(Rgb colour) const;

private:
    std::vector<Rgb> colours_;
};

}  // namespace pw::tool
