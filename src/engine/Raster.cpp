#include "Raster.h"

#include <algorithm>
#include <cstdlib>

namespace korvath {

Raster::Raster(int width, int height, Rgb fill)
    : w_(std::max(0, width)), h_(std::max(0, height)),
      px_(static_cast<size_t>(w_) * static_cast<size_t>(h_), fill) {}

void Raster::fill(Rgb c) {
    std::fill(px_.begin(), px_.end(), c);
}

void Raster::fillRect(int left, int top, int right, int bottom, Rgb c) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, w_);
    bottom = std::min(bottom, h_);
    for (int y = top; y < bottom; ++y)
        std::fill(&px_[idx(left, y)], &px_[idx(left, y)] + std::max(0, right - left), c);
}

void Raster::frameRect(int left, int top, int right, int bottom, Rgb c) {
    if (right <= left || bottom <= top) return;
    fillRect(left, top, right, top + 1, c);
    fillRect(left, bottom - 1, right, bottom, c);
    fillRect(left, top, left + 1, bottom, c);
    fillRect(right - 1, top, right, bottom, c);
}

void Raster::blit(const Raster& src, int sx, int sy, int w, int h, int dx, int dy) {
    // Clip against the source, then against the destination.
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, src.w_ - sx, w_ - dx});
    h = std::min({h, src.h_ - sy, h_ - dy});
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y)
        std::copy_n(&src.px_[src.idx(sx, sy + y)], w, &px_[idx(dx, dy + y)]);
}

Raster Raster::copy(int sx, int sy, int w, int h) const {
    Raster r(w, h);
    r.blit(*this, sx, sy, w, h, 0, 0);
    return r;
}

void Raster::ellipse(int left, int top, int right, int bottom, Rgb pen, Rgb brush) {
    if (right <= left || bottom <= top) return;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            if (!inside(x, y)) continue;
            const bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            setPixel(x, y, edge ? pen : brush);
        }
}

void Raster::plot(int x, int y, Rgb c, int width) {
    if (width <= 1) {
        setPixel(x, y, c);
        return;
    }
    const int lo = -(width / 2), hi = lo + width;
    fillRect(x + lo, y + lo, x + hi, y + hi, c);
}

void Raster::line(Point a, Point b, Rgb pen, int width, bool dotted) {
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int stepX = a.x < b.x ? 1 : -1, stepY = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    bool on = true;
    while (x != b.x || y != b.y) {
        if (!dotted || on) plot(x, y, pen, width);
        on = !on;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepY;
        }
    }
}

void Raster::polyline(const std::vector<Point>& pts, Rgb pen, int width, bool dotted) {
    for (size_t i = 1; i < pts.size(); ++i) line(pts[i - 1], pts[i], pen, width, dotted);
}

} // namespace korvath
