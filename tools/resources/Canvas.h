#pragma once
// An RGB picture that the artwork is painted on. Every operation sets whole pixels to one colour, so
// shapes keep hard edges: a pixel is either a shape's colour or what was there before.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pw::tool {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// The transparent colour of every game picture.
constexpr Rgb kKeyColour{246, 140, 197};

struct PointF {
    double x, y;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = kKeyColour);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    bool IsKey(int x, int y) const { return At(x, y) == kKeyColour; }

    // Drawing clips silently to the canvas.
    void Set(int x, int y, Rgb colour);
    void FillRect(int x, int y, int w, int h, Rgb colour);
    void FrameRect(int x, int y, int w, int h, Rgb colour);
    void Line(int x0, int y0, int x1, int y1, Rgb colour);
    // A straight bar of the given width; its long edges are parallel to the segment.
    void ThickLine(PointF a, PointF b, double width, Rgb colour);
    // Shapes cover the pixels whose centres lie inside them.
    void FillEllipse(double cx, double cy, double rx, double ry, Rgb colour);
    void FillCircle(double cx, double cy, double r, Rgb colour) { FillEllipse(cx, cy, r, r, colour); }
    void FillPolygon(const std::vector<PointF>& points, Rgb colour);

    // Copies src with its top-left corner at (dx, dy); keyed copies skip key-coloured pixels.
    void Blit(const Canvas& src, int dx, int dy, bool keyed = true);
    Canvas Crop(int x, int y, int w, int h) const;
    void Replace(Rgb from, Rgb to);
    // Paints every key pixel that touches a non-key pixel (4-neighbourhood): a one-pixel outline.
    void OutlineShapes(Rgb colour);
    // Paints the non-key pixels that touch a key pixel or the canvas border: an inner edge.
    void EdgeShapes(Rgb colour);

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

}  // namespace pw::tool
