#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvath {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// One row of blitOver: black in s lets g show, four pixels a step where the
// processor can (every square is copied through here, so it must be about
// as quick as a plain copy).
void overRow(const Rgb* s, const Rgb* g, Rgb* d, int w) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
        const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + x));
        const __m128i black = _mm_cmpeq_epi32(v, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x),
                         _mm_or_si128(v, _mm_and_si128(black, under)));
    }
#endif
    for (; x < w; ++x) d[x] = s[x] != 0 ? s[x] : g[x];
}

} // namespace

template <typename T> T* PixelAllocator<T>::allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return std::allocator<T>().allocate(n);
    void* p = nullptr;
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (posix_memalign(&p, kHugePage, rounded) != 0) throw std::bad_alloc();
    madvise(p, rounded, MADV_HUGEPAGE); // a hint; without huge pages all still works
    return static_cast<T*>(p);
}

template <typename T> void PixelAllocator<T>::deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kHugePage)
        std::allocator<T>().deallocate(p, n);
    else
        std::free(p);
}

template struct PixelAllocator<Rgb>;

Raster::Raster(int width, int height, Rgb fill)
    : w_(std::max(0, width)), h_(std::max(0, height)), tilesWide_((w_ + kTile - 1) / kTile),
      tilesHigh_((h_ + kTile - 1) / kTile),
      px_(static_cast<size_t>(w_) * static_cast<size_t>(h_), fill),
      versions_(static_cast<size_t>(tilesWide_) * static_cast<size_t>(tilesHigh_), 1) {}

void Raster::touch(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    for (int ty = top / kTile; ty <= (bottom - 1) / kTile; ++ty)
        for (int tx = left / kTile; tx <= (right - 1) / kTile; ++tx) {
            const size_t tile = static_cast<size_t>(ty) * tilesWide_ + tx;
            if (journal_.to) keepTile(tile);
            ++versions_[tile];
        }
}

void Raster::keepTile(size_t tile) {
    TileJournal& j = *journal_.to;
    if (j.saved_.size() != versions_.size()) j.saved_.assign(versions_.size(), false);
    if (j.saved_[tile]) return;
    j.saved_[tile] = true;
    j.index_.push_back(static_cast<uint32_t>(tile));
    j.version_.push_back(versions_[tile]);
    const int left = static_cast<int>(tile % tilesWide_) * kTile;
    const int top = static_cast<int>(tile / tilesWide_) * kTile;
    const int w = std::min(kTile, w_ - left), h = std::min(kTile, h_ - top);
    const size_t at = j.pixels_.size();
    j.pixels_.resize(at + kTile * kTile);
    for (int y = 0; y < h; ++y)
        std::copy_n(&px_[idx(left, top + y)], w, &j.pixels_[at + static_cast<size_t>(y) * kTile]);
}

void Raster::tradeTiles(TileJournal& j) {
    if (!j.saved_.empty() && j.saved_.size() != versions_.size()) return;
    for (size_t k = 0; k < j.index_.size(); ++k) {
        const size_t tile = j.index_[k];
        std::swap(j.version_[k], versions_[tile]);
        const int left = static_cast<int>(tile % tilesWide_) * kTile;
        const int top = static_cast<int>(tile / tilesWide_) * kTile;
        const int w = std::min(kTile, w_ - left), h = std::min(kTile, h_ - top);
        Rgb* kept = &j.pixels_[k * kTile * kTile];
        for (int y = 0; y < h; ++y)
            std::swap_ranges(kept + static_cast<size_t>(y) * kTile,
                             kept + static_cast<size_t>(y) * kTile + w, &px_[idx(left, top + y)]);
    }
}

void Raster::fill(Rgb c) {
    touch(0, 0, w_, h_);
    std::fill(px_.begin(), px_.end(), c);
}

void Raster::fillRect(int left, int top, int right, int bottom, Rgb c) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, w_);
    bottom = std::min(bottom, h_);
    // Nothing of it on the picture: no pixel, not even an address, is touched.
    if (left >= right || top >= bottom) return;
    touch(left, top, right, bottom);
    for (int y = top; y < bottom; ++y) std::fill_n(px_.begin() + idx(left, y), right - left, c);
}

void Raster::frameRect(int left, int top, int right, int bottom, Rgb c) {
    if (right <= left || bottom <= top) return;
    fillRect(left, top, right, top + 1, c);
    fillRect(left, bottom - 1, right, bottom, c);
    fillRect(left, top, left + 1, bottom, c);
    fillRect(right - 1, top, right, bottom, c);
}

bool Raster::clipCopy(const Raster& src, int& sx, int& sy, int& w, int& h, int& dx, int& dy) const {
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
    return w > 0 && h > 0;
}

void Raster::blit(const Raster& src, int sx, int sy, int w, int h, int dx, int dy) {
    if (!clipCopy(src, sx, sy, w, h, dx, dy)) return;
    touch(dx, dy, dx + w, dy + h);
    for (int y = 0; y < h; ++y)
        std::copy_n(&src.px_[src.idx(sx, sy + y)], w, &px_[idx(dx, dy + y)]);
}

void Raster::blitOver(const Raster& src, const Raster& ground, int sx, int sy, int w, int h, int dx,
                      int dy, int gx, int gy) {
    const int dx0 = dx, dy0 = dy;
    if (!clipCopy(src, sx, sy, w, h, dx, dy)) return;
    gx += dx - dx0;
    gy += dy - dy0;
    touch(dx, dy, dx + w, dy + h);
    const bool covered = gx >= 0 && gy >= 0 && gx + w <= ground.w_ && gy + h <= ground.h_;
    for (int y = 0; y < h; ++y) {
        const Rgb* s = &src.px_[src.idx(sx, sy + y)];
        Rgb* d = &px_[idx(dx, dy + y)];
        if (covered)
            overRow(s, &ground.px_[ground.idx(gx, gy + y)], d, w);
        else
            std::copy_n(s, w, d);
    }
}

Raster Raster::copy(int sx, int sy, int w, int h) const {
    Raster r(w, h);
    r.blit(*this, sx, sy, w, h, 0, 0);
    return r;
}

void Raster::copyFrom(const Raster& src, int sx, int sy, int w, int h) {
    if (w_ != std::max(0, w) || h_ != std::max(0, h))
        *this = Raster(w, h);
    else if (sx < 0 || sy < 0 || sx + w > src.w_ || sy + h > src.h_)
        fill(0); // what lies outside src reads as black
    blit(src, sx, sy, w, h, 0, 0);
}

void Raster::ellipse(int left, int top, int right, int bottom, Rgb pen, Rgb brush) {
    if (right <= left || bottom <= top) return;
    const double l = left, t = top, r = right, b = bottom; // no overflow for far-flung boxes
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    const double rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    auto inside = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    // Each row inside is one run [lo, hi] around the centre column: the test
    // grows with the distance from the centre. The run's ends are estimated,
    // then settled with the test itself, so that the points are exactly the
    // test's. Empty when lo > hi.
    struct Run {
        int lo = 1, hi = 0;
        bool has(int x) const { return lo <= x && x <= hi; }
    };
    auto run = [&](int y) {
        Run r;
        const int c = static_cast<int>(std::clamp(std::floor(cx), double(left), double(right - 1)));
        if (!inside(c, y)) return r;
        const double dy = (y + 0.5 - cy) / ry;
        const double half = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        r.hi = static_cast<int>(std::clamp(std::floor(cx + half), double(c), double(right - 1)));
        while (r.hi + 1 < right && inside(r.hi + 1, y)) ++r.hi;
        while (!inside(r.hi, y)) --r.hi;
        r.lo = static_cast<int>(std::clamp(std::ceil(cx - half) - 1, double(left), double(c)));
        while (r.lo - 1 >= left && inside(r.lo - 1, y)) --r.lo;
        while (!inside(r.lo, y)) ++r.lo;
        return r;
    };
    // Only the part on the raster is drawn; a point is on the outline when a
    // neighbour lies outside.
    const int x0 = std::max(left, 0), x1 = std::min(right, w_);
    const int y0 = std::max(top, 0), y1 = std::min(bottom, h_);
    if (x1 <= x0 || y1 <= y0) return;
    touch(x0, y0, x1, y1);
    Run above = run(y0 - 1), row = run(y0);
    for (int y = y0; y < y1; ++y) {
        const Run below = run(y + 1);
        for (int x = std::max(row.lo, x0); x <= std::min(row.hi, x1 - 1); ++x) {
            const bool edge = x == row.lo || x == row.hi || !above.has(x) || !below.has(x);
            px_[idx(x, y)] = edge ? pen : brush;
        }
        above = row;
        row = below;
    }
}

void Raster::stamp(const Raster& mask, int dx, int dy, Rgb pen, Rgb brush) {
    const int x0 = std::max(dx, 0), x1 = std::min(dx + mask.w_, w_);
    const int y0 = std::max(dy, 0), y1 = std::min(dy + mask.h_, h_);
    if (x1 <= x0 || y1 <= y0) return;
    touch(x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb m = mask.px_[mask.idx(x - dx, y - dy)];
            if (m == 1) px_[idx(x, y)] = pen;
            if (m == 2) px_[idx(x, y)] = brush;
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
    linePoints(a, b, dotted, [&](int x, int y) { plot(x, y, pen, width); });
}

void Raster::polyline(const std::vector<Point>& pts, Rgb pen, int width, bool dotted) {
    for (size_t i = 1; i < pts.size(); ++i) line(pts[i - 1], pts[i], pen, width, dotted);
}

} // namespace korvath
