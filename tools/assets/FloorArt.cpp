#include "assets/FloorArt.h"

#include "engine/DataError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvath::assets {

namespace {

constexpr int kSquare = 32;

// The eight neighbours in the order of the Around bits.
constexpr int kDx[] = {0, 1, 0, -1, 1, 1, -1, -1};
constexpr int kDy[] = {-1, 0, 1, 0, -1, 1, 1, -1};

// How much light reaches pixel (px, py) of its square, 0..31 each way: less
// near a wall beside it, and under the soft round shadow an object casts
// down and to the right.
double shade(double px, double py, const FloorSquare& sq) {
    const double cx = px + 0.5, cy = py + 0.5;
    double wall = 1e9, object = 1e9;
    const double sides[] = {cy, kSquare - cx, kSquare - cy, cx}; // N, E, S, W
    for (int d = 0; d < 4; ++d)
        if (sq.walls & (1 << d)) wall = std::min(wall, sides[d]);
    for (int d = 4; d < 8; ++d)
        if (sq.walls & (1 << d))
            wall = std::min(
                wall, std::hypot(cx - (kDx[d] > 0 ? kSquare : 0), cy - (kDy[d] > 0 ? kSquare : 0)));
    auto shadowOf = [&](int dx, int dy) {
        object = std::min(object, std::hypot(cx - (dx * kSquare + 19), cy - (dy * kSquare + 20)));
    };
    if (sq.thing) shadowOf(0, 0);
    for (int d = 0; d < 8; ++d)
        if (sq.things & (1 << d)) shadowOf(kDx[d], kDy[d]);
    return (0.55 + 0.45 * noise::step(0, 11, wall)) * (0.6 + 0.4 * noise::step(8, 20, object));
}

} // namespace

Raster floorArt(const FloorPlan& plan) {
    std::vector<FloorPainter> painters;
    for (const std::string& style : plan.styles) {
        FloorPainter p = fortressFloor(style);
        if (!p) p = starshipFloor(style);
        if (!p) throw DataError("floor styles", 0, "no floor is drawn as " + style);
        painters.push_back(p);
    }
    Raster art(80 * kSquare, 50 * kSquare);
    Rgb* out = art.data();
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x, ++out) {
            const FloorSquare& sq = plan.at(x / kSquare + 1, y / kSquare + 1);
            if (sq.style < 0) continue;
            const noise::Tone t = painters[sq.style](x, y, sq);
            *out = noise::pixel(t * shade(x % kSquare, y % kSquare, sq));
        }
    return art;
}

} // namespace korvath::assets
