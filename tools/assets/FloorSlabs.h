// Floors laid in rectangles (slabs, plates, tiles, boards): which one a pixel
// lies on and how it looks near its edges. Shared by both tile sets.
#pragma once
#include "assets/FloorNoise.h"

#include <algorithm>
#include <cmath>

namespace korvath::assets {

// The slab under map pixel (x, y) when slabs of w x h are laid in rows, each
// row shifted by a random amount when `bond` is set; (lx, ly) is the pixel's
// place on its slab.
struct Slab {
    int col = 0, row = 0;
    double lx = 0, ly = 0, w = 0, h = 0;
    // Distance from the pixel's centre to the slab's nearest edge.
    double edge() const { return std::min({lx + 0.5, w - lx - 0.5, ly + 0.5, h - ly - 0.5}); }
    // Towards the light (top and left edges) and away from it.
    double litEdge() const { return std::min(lx + 0.5, ly + 0.5); }
    double shadedEdge() const { return std::min(w - lx - 0.5, h - ly - 0.5); }
};

inline Slab slabAt(int x, int y, double w, double h, uint32_t seed, bool bond, double shiftX = 0,
                   double shiftY = 0) {
    Slab s;
    s.w = w;
    s.h = h;
    const double fy = y + shiftY;
    s.row = static_cast<int>(std::floor(fy / h));
    const double fx = x + shiftX + (bond ? noise::rnd(s.row, 0, seed) * w : 0);
    s.col = static_cast<int>(std::floor(fx / w));
    s.lx = fx - s.col * w;
    s.ly = fy - s.row * h;
    return s;
}

// A slab's surface against the joint: lit top and left rims, shaded bottom
// and right ones, and the joint itself `joint` pixels wide on each side.
inline noise::Tone slabEdges(const Slab& s, const noise::Tone& surface, const noise::Tone& gap,
                             double joint, double rim = 0.2) {
    const double bevel = 1 + rim * (1 - noise::step(joint, joint + 2, s.litEdge())) -
                         1.4 * rim * (1 - noise::step(joint, joint + 2, s.shadedEdge()));
    return noise::mix(surface * bevel, gap, 1 - noise::step(joint * 0.6, joint, s.edge()));
}

// Round bolt heads of radius r at (bx, by) on a slab, lit from the top left.
inline noise::Tone bolt(const noise::Tone& under, double dx, double dy, double r,
                        const noise::Tone& metal) {
    const double d = std::hypot(dx, dy);
    if (d > r + 1) return under;
    const double lit = noise::clamp01(0.5 - (dx + dy) / (3 * r));
    const noise::Tone head = metal * (0.7 + 0.7 * lit);
    const noise::Tone shadowed = under * (d > r ? 0.6 : 1.0);
    return noise::mix(shadowed, head, 1 - noise::step(r - 0.5, r + 0.5, d));
}

// A raised tread of short ridges, crossing in turn, 8 pixels apart.
inline noise::Tone tread(const noise::Tone& metal, double lx, double ly) {
    const int cx = static_cast<int>(lx) / 8, cy = static_cast<int>(ly) / 8;
    const double ux = lx - cx * 8 - 4, uy = ly - cy * 8 - 4;
    const double along = (cx + cy) % 2 ? ux + uy : ux - uy;
    const double across = (cx + cy) % 2 ? ux - uy : ux + uy;
    if (std::abs(across) >= 1.2 || std::abs(along) >= 5) return metal;
    return metal * (across < 0 ? 1.35 : 0.8);
}

} // namespace korvath::assets
