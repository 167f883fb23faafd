#pragma once
// An off-screen 32-bit picture: the stand-in for a memory device context with
// its bitmap. Pixels are 0x00RRGGBB. Every copy clips to both surfaces, so no
// copy can read or write outside a buffer whatever rectangle it is given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pw {

using Pixel = uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
    return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
           static_cast<Pixel>(b & 0xFF);
}

// The one transparent colour of every picture (red 246, green 140, blue 197).
constexpr Pixel KeyColour = Rgb(246, 140, 197);

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The smallest rectangle that holds both a and b.
inline Rect Union(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

struct Size {
    int32_t width = 0;
    int32_t height = 0;
};

class Surface {
public:
    Surface(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Pixel At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void Set(int x, int y, Pixel p) { pixels_[static_cast<size_t>(y) * width_ + x] = p; }
    Pixel* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const std::vector<Pixel>& Pixels() const { return pixels_; }

    // Fills x..x+w-1, y..y+h-1, clipped to the surface.
    void Fill(int x, int y, int w, int h, Pixel colour);

private:
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

// Opaque copy of a w x h block (BitBlt with SRCCOPY).
void CopyOpaque(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy);

// Copy that leaves the destination alone wherever the source holds `key`
// (TransparentImage with the key colour).
void CopyKeyed(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
               Pixel key = KeyColour);

}  // namespace pw
