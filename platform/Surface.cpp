#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

namespace pw {

Surface::Surface(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

void Surface::Fill(int x, int y, int w, int h, Pixel colour) {
    // The far edges in 64 bits, so that no request can overflow.
    int x0 = std::max(0, x), y0 = std::max(0, y);
    int x1 = int(std::min<int64_t>(width_, int64_t(x) + std::max(0, w)));
    int y1 = int(std::min<int64_t>(height_, int64_t(y) + std::max(0, h)));
    if (x1 <= x0) return;  // wholly beside the surface
    for (int row = y0; row < y1; ++row) std::fill(Row(row) + x0, Row(row) + x1, colour);
}

namespace {

// Narrows a copy so that both the source and the destination block lie inside
// their surfaces. Returns false when nothing is left to copy.
bool ClipBlock(const Surface& dst, int& dx, int& dy, int& w, int& h, const Surface& src, int& sx, int& sy) {
    if (w <= 0 || h <= 0) return false;
    // Work in 64 bits so that huge requests cannot overflow.
    int64_t ddx = dx, ddy = dy, ssx = sx, ssy = sy, ww = w, hh = h;
    auto clipLow = [](int64_t& a, int64_t& b, int64_t& len) {
        int64_t shift = std::max<int64_t>({0, -a, -b});
        a += shift;
        b += shift;
        len -= shift;
    };
    clipLow(ddx, ssx, ww);
    clipLow(ddy, ssy, hh);
    ww = std::min({ww, int64_t(dst.Width()) - ddx, int64_t(src.Width()) - ssx});
    hh = std::min({hh, int64_t(dst.Height()) - ddy, int64_t(src.Height()) - ssy});
    if (ww <= 0 || hh <= 0) return false;
    dx = int(ddx), dy = int(ddy), sx = int(ssx), sy = int(ssy), w = int(ww), h = int(hh);
    return true;
}

}  // namespace

void CopyOpaque(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    if (!ClipBlock(dst, dx, dy, w, h, src, sx, sy)) return;
    const size_t bytes = static_cast<size_t>(w) * sizeof(Pixel);
    if (&dst == &src) {
        for (int row = 0; row < h; ++row) std::memmove(dst.Row(dy + row) + dx, src.Row(sy + row) + sx, bytes);
        return;
    }
    if (w == dst.Width() && w == src.Width()) {
        std::memcpy(dst.Row(dy) + dx, src.Row(sy) + sx, bytes * static_cast<size_t>(h));
        return;
    }
    for (int row = 0; row < h; ++row) {
        const Pixel* from = src.Row(sy + row) + sx;
        Pixel* to = dst.Row(dy + row) + dx;
        // Short rows (a dirty rectangle, a weight) copy faster inline than
        // through a call per row.
        if (w <= 64) {
            for (int col = 0; col < w; ++col) to[col] = from[col];
        } else {
            std::memcpy(to, from, bytes);
        }
    }
}

void CopyKeyed(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Pixel key) {
    if (!ClipBlock(dst, dx, dy, w, h, src, sx, sy)) return;
    for (int row = 0; row < h; ++row) {
        const Pixel* s = src.Row(sy + row) + sx;
        Pixel* d = dst.Row(dy + row) + dx;
        // Branch-free select, so that the compiler can copy several pixels
        // at a time: all ones in `opaque` where the source pixel shows.
        for (int col = 0; col < w; ++col) {
            const Pixel p = s[col];
            const Pixel opaque = static_cast<Pixel>(0) - static_cast<Pixel>(p != key);
            d[col] = (p & opaque) | (d[col] & ~opaque);
        }
    }
}

}  // namespace pw
