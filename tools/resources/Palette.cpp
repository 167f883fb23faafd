#include "Palette.h"

#include <algorithm>
#include <stdexcept>

namespace pw::tool {

Palette Palette::FromCanvas(const Canvas& canvas, size_t maxColours, const std::string& name) {
    Palette palette;
    palette.colours_.push_back(kKeyColour);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            if (std::find(palette.colours_.begin(), palette.colours_.end(), c) == palette.colours_.end())
                palette.colours_.push_back(c);
        }
    if (palette.colours_.size() > maxColours)
        throw std::runtime_error(name + ": " + std::to_string(palette.colours_.size()) +
                                 " colours, at most " + std::to_string(maxColours) + " fit");
    return palette;
}

uint8_t Palette::IndexOf(Rgb colour) const {
    const auto it = std::find(colours_.begin(), colours_.end(), colour);
    if (it == colours_.end()) throw std::logic_error("colour outside the palette");
    return static_cast<uint8_t>(it - colours_.begin());
}

}  // namespace pw::tool
