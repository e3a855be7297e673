#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvath {

// Pixels are 0x00RRGGBB. A pixel is "black" only when it is exactly 0: shots
// and sight treat every other value as something in the way.
using Rgb = uint32_t;

constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r & 255) << 16) | (static_cast<Rgb>(g & 255) << 8) |
           static_cast<Rgb>(b & 255);
}
// Colours written in data files are 0x00BBGGRR.
constexpr Rgb fromBgr(uint32_t bgr) {
    return rgb(bgr & 255, (bgr >> 8) & 255, (bgr >> 16) & 255);
}

// Storage for pixels. A whole battlefield picture is 16 MB: it is placed on
// huge pages where the system offers them, so that it takes a handful of page
// faults instead of four thousand (a battle starts that much sooner).
template <typename T> struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U> PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(size_t n);
    void deallocate(T* p, size_t n);
    template <typename U> bool operator==(const PixelAllocator<U>&) const { return true; }
};

struct Point {
    int x = 0;
    int y = 0;
};

class Raster;

// The tiles of a picture as they were before it changed: while the journal
// is attached to a picture, the first change to each tile saves that tile's
// pixels and change count here. Trading them back (Raster::tradeTiles) puts
// the picture back exactly as it was, counts and all, and leaves the journal
// holding the picture as it had become, to be traded forth again.
class TileJournal {
  public:
    bool empty() const { return index_.empty(); }
    size_t tiles() const { return index_.size(); }
    size_t bytes() const {
        return pixels_.size() * sizeof(Rgb) + index_.size() * 2 * sizeof(uint32_t) +
               saved_.size() / 8;
    }

  private:
    friend class Raster;
    std::vector<uint32_t> index_;   // tile, row-major from 0
    std::vector<uint32_t> version_; // its change count
    std::vector<Rgb> pixels_;       // kTile x kTile for each, row by row
    std::vector<bool> saved_;       // by tile: saved already
};

// A 32-bit raster with the few drawing primitives the battle needs. All
// rectangles are (left, top) - (right, bottom) with right and bottom excluded;
// everything is clipped to the raster.
//
// The raster is divided into tiles of 32 x 32 pixels (a map square), each with
// a count of the changes made in it, so that work can be skipped for tiles
// nothing has touched. Writing through data() is not counted.
class Raster {
  public:
    static constexpr int kTile = 32;

    Raster() = default;
    Raster(int width, int height, Rgb fill = 0);

    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return w_ == 0 || h_ == 0; }
    Rgb* data() { return px_.data(); }
    const Rgb* data() const { return px_.data(); }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    // Outside the raster reads as black.
    Rgb pixel(int x, int y) const { return contains(x, y) ? px_[idx(x, y)] : 0; }
    void setPixel(int x, int y, Rgb c) {
        if (!contains(x, y)) return;
        const size_t tile = static_cast<size_t>(y / kTile) * tilesWide_ + x / kTile;
        if (journal_.to) keepTile(tile);
        px_[idx(x, y)] = c;
        ++versions_[tile];
    }

    // Every tile changed from now on is saved first in `journal` (none: no
    // longer). A copy of the picture, or a picture assigned anew, keeps none.
    void keepChangesIn(TileJournal* journal) { journal_.to = journal; }
    bool keepsChangesIn(const TileJournal* journal) const { return journal_.to == journal; }
    // The journal's tiles and the picture's trade places, pixels and change
    // counts alike. A journal of a picture of another size changes nothing.
    void tradeTiles(TileJournal& journal);

    int tilesWide() const { return tilesWide_; }
    int tilesHigh() const { return tilesHigh_; }
    // Changes made in tile (tx, ty) so far; 0 outside the raster.
    uint32_t tileVersion(int tx, int ty) const {
        return tx >= 0 && ty >= 0 && tx < tilesWide_ && ty < tilesHigh_
                   ? versions_[static_cast<size_t>(ty) * tilesWide_ + tx]
                   : 0;
    }

    void fill(Rgb c);
    void fillRect(int left, int top, int right, int bottom, Rgb c);
    void frameRect(int left, int top, int right, int bottom, Rgb c);
    // Copies the w x h rectangle at (sx, sy) of src to (dx, dy).
    void blit(const Raster& src, int sx, int sy, int w, int h, int dx, int dy);
    // The same, except that where src is black the pixel of `ground` shows
    // instead, read from (gx, gy) on for the rectangle's top left corner.
    // Where the ground does not cover the rectangle the copy is a plain blit.
    void blitOver(const Raster& src, const Raster& ground, int sx, int sy, int w, int h, int dx,
                  int dy, int gx, int gy);
    void draw(const Raster& src, int dx, int dy) { blit(src, 0, 0, src.w_, src.h_, dx, dy); }
    Raster copy(int sx, int sy, int w, int h) const;
    // Becomes the w x h rectangle at (sx, sy) of src, black where it lies
    // outside src, as copy() gives it, reusing its own pixels' memory.
    void copyFrom(const Raster& src, int sx, int sy, int w, int h);

    // An ellipse inside the bounding rectangle, filled with brush and outlined with pen.
    void ellipse(int left, int top, int right, int bottom, Rgb pen, Rgb brush);
    // A line from a to b; the end point itself is not drawn. A dotted pen
    // draws every other pixel.
    void line(Point a, Point b, Rgb pen, int width = 1, bool dotted = false);
    // Where line() puts its pen down, in order: f(x, y) for each point, each
    // covered by a square of the pen's width, -(width / 2) .. width - width / 2
    // - 1 around it (a question about a trace reads the same pixels).
    template <typename F> static void linePoints(Point a, Point b, bool dotted, F f);
    void polyline(const std::vector<Point>& pts, Rgb pen, int width = 1, bool dotted = false);
    // Paints the shape of mask at (dx, dy): where the mask holds 1 in pen,
    // where it holds 2 in brush; elsewhere the picture stays as it is.
    void stamp(const Raster& mask, int dx, int dy, Rgb pen, Rgb brush);

    // Same size and pixels; the change counts are not compared.
    bool operator==(const Raster& o) const { return w_ == o.w_ && h_ == o.h_ && px_ == o.px_; }

  private:
    size_t idx(int x, int y) const { return static_cast<size_t>(y) * w_ + x; }
    void plot(int x, int y, Rgb c, int width);
    // Clips a copy of the w x h rectangle at (sx, sy) of src to (dx, dy) here;
    // false when nothing of it is left.
    bool clipCopy(const Raster& src, int& sx, int& sy, int& w, int& h, int& dx, int& dy) const;
    // Counts a change in every tile the (already clipped) rectangle meets.
    void touch(int left, int top, int right, int bottom);
    void keepTile(size_t tile);
    // Not copied with the picture: a copy is a picture of its own.
    struct JournalLink {
        TileJournal* to = nullptr;
        JournalLink() = default;
        JournalLink(const JournalLink&) {}
        JournalLink& operator=(const JournalLink&) {
            to = nullptr;
            return *this;
        }
    } journal_;
    int w_ = 0;
    int h_ = 0;
    int tilesWide_ = 0;
    int tilesHigh_ = 0;
    std::vector<Rgb, PixelAllocator<Rgb>> px_;
    std::vector<uint32_t> versions_;
};

template <typename F> void Raster::linePoints(Point a, Point b, bool dotted, F f) {
    const int dx = a.x < b.x ? b.x - a.x : a.x - b.x;
    const int dy = -(a.y < b.y ? b.y - a.y : a.y - b.y);
    const int stepX = a.x < b.x ? 1 : -1, stepY = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    bool on = true;
    while (x != b.x || y != b.y) {
        if (!dotted || on) f(x, y);
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

} // namespace korvath
