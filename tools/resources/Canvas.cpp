#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace pw::tool {

Canvas::Canvas(int width, int height, Rgb fill) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("canvas size must be positive");
    pixels_.assign(static_cast<size_t>(width) * height, fill);
}

void Canvas::Set(int x, int y, Rgb colour) {
    if (Contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb colour) {
    for (int row = std::max(0, y); row < std::min(height_, y + h); ++row)
        for (int col = std::max(0, x); col < std::min(width_, x + w); ++col)
            pixels_[static_cast<size_t>(row) * width_ + col] = colour;
}

void Canvas::FrameRect(int x, int y, int w, int h, Rgb colour) {
    FillRect(x, y, w, 1, colour);
    FillRect(x, y + h - 1, w, 1, colour);
    FillRect(x, y, 1, h, colour);
    FillRect(x + w - 1, y, 1, h, colour);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb colour) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::ThickLine(PointF a, PointF b, double width, Rgb colour) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) return;
    const double nx = -(b.y - a.y) / length * width / 2, ny = (b.x - a.x) / length * width / 2;
    FillPolygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}},
                colour);
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgb colour) {
    if (rx <= 0 || ry <= 0) return;
    const int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
    const int x0 = static_cast<int>(std::floor(cx - rx)), x1 = static_cast<int>(std::ceil(cx + rx));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double ex = (x + 0.5 - cx) / rx, ey = (y + 0.5 - cy) / ry;
            if (ex * ex + ey * ey <= 1.0) Set(x, y, colour);
        }
}

void Canvas::FillPolygon(const std::vector<PointF>& points, Rgb colour) {
    if (points.size() < 3) return;
    double top = points[0].y, bottom = points[0].y;
    for (const PointF& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Even-odd scan conversion at pixel centres.
    for (int y = std::max(0, static_cast<int>(std::floor(top)));
         y <= std::min(height_ - 1, static_cast<int>(bottom)); ++y) {
        const double sy = y + 0.5;
        std::vector<double> crossings;
        for (size_t i = 0; i < points.size(); ++i) {
            const PointF& p = points[i];
            const PointF& q = points[(i + 1) % points.size()];
            if ((p.y <= sy && q.y > sy) || (q.y <= sy && p.y > sy))
                crossings.push_back(p.x + (sy - p.y) / (q.y - p.y) * (q.x - p.x));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int to = static_cast<int>(std::floor(crossings[i + 1] - 0.5));
            for (int x = from; x <= to; ++x) Set(x, y, colour);
        }
    }
}

void Canvas::Blit(const Canvas& src, int dx, int dy, bool keyed) {
    for (int y = 0; y < src.height_; ++y)
        for (int x = 0; x < src.width_; ++x) {
            const Rgb c = src.At(x, y);
            if (!keyed || c != kKeyColour) Set(dx + x, dy + y, c);
        }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            if (Contains(x + col, y + row)) out.Set(col, row, At(x + col, y + row));
    return out;
}

void Canvas::Replace(Rgb from, Rgb to) { std::replace(pixels_.begin(), pixels_.end(), from, to); }

void Canvas::OutlineShapes(Rgb colour) {
    const Canvas before = *this;
    auto solid = [&](int x, int y) { return before.Contains(x, y) && !before.IsKey(x, y); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (before.IsKey(x, y) &&
                (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1)))
                Set(x, y, colour);
}

void Canvas::EdgeShapes(Rgb colour) {
    const Canvas before = *this;
    auto open = [&](int x, int y) { return !before.Contains(x, y) || before.IsKey(x, y); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!before.IsKey(x, y) && (open(x - 1, y) || open(x + 1, y) || open(x, y - 1) || open(x, y + 1)))
                Set(x, y, colour);
}

}  // namespace pw::tool
