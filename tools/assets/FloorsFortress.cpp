// The ground of Korvath Tamberhold: gravel and bare rock on the plateau,
// worn flagstones in the courtyard, cut stone, boards and tiles in the keep.
// Dark, so that soldiers, target discs and shot traces stand out on it.
#include "assets/FloorArt.h"
#include "assets/FloorSlabs.h"

#include <map>

namespace korvath::assets {

namespace {

using noise::cells;
using noise::clamp01;
using noise::fractal;
using noise::mix;
using noise::rnd;
using noise::step;
using noise::Tone;

// Loose stones of a few pixels, lit from the top left, on dusty ground,
// with slabs of bare rock breaking through in places.
Tone gravel(int x, int y, const FloorSquare&) {
    const Tone ground = mix({24, 22, 19}, {36, 32, 27}, fractal(x, y, 140, 3, 11));
    const noise::Cells g = cells(x, y, 5.5, 13, 0.9);
    const double r = 1.3 + rnd(g.cx, g.cy, 14) * 1.5;
    const double lit = clamp01(0.5 - (g.dx + g.dy) / (2.5 * r));
    const Tone stone = mix({34, 31, 27}, {66, 59, 50}, rnd(g.cx, g.cy, 15)) * (0.75 + 0.5 * lit);
    // Fewer, dustier stones in places, so that the plateau is not one grain.
    const double loose = 0.45 + 0.55 * step(0.3, 0.6, fractal(x, y, 220, 2, 26));
    const double grain = (1 - step(r - 0.6, r + 0.4, g.nearest)) * loose;
    Tone t = mix(ground * (0.85 + 0.3 * rnd(x, y, 16)), stone, grain);
    // Bare rock where the broad noise runs high, split by dark cracks.
    const double slab = fractal(x, y, 90, 4, 12);
    if (slab > 0.56) {
        Tone rock = mix({36, 33, 29}, {54, 49, 41}, fractal(x, y, 22, 3, 17));
        rock = rock * (0.82 + 0.22 * fractal(x, y, 5, 2, 19)) * (0.93 + 0.1 * rnd(x, y, 20));
        const double crack = std::abs(fractal(x, y, 48, 3, 18) - 0.5);
        rock = rock * (0.55 + 0.45 * step(0.0, 0.025, crack));
        const double rim = step(0.56, 0.6, slab);
        t = mix(t * (1 - 0.35 * rim * (1 - step(0.6, 0.63, slab))), rock, step(0.59, 0.62, slab));
    }
    return t;
}

// Irregular worn flagstones with dirt in the joints.
Tone courtyard(int x, int y, const FloorSquare&) {
    const noise::Cells c = cells(x, y, 30, 21, 0.85);
    const double joint = (c.second - c.nearest) * 0.5;
    Tone stone = mix({34, 32, 29}, {54, 50, 44}, rnd(c.cx, c.cy, 22));
    stone = stone * (0.8 + 0.3 * fractal(x, y, 9, 3, 23));
    stone = stone * (0.88 + 0.24 * clamp01(0.5 - (c.dx + c.dy) / 36));
    stone = stone * (0.75 + 0.25 * step(0.5, 4, joint));
    const Tone dirt = mix({13, 12, 10}, {22, 21, 16}, fractal(x, y, 6, 2, 24));
    const Tone t = mix(stone, dirt, 1 - step(0.6, 1.5, joint));
    return t * (0.82 + 0.3 * fractal(x, y, 160, 2, 25));
}

// Cut stone laid in rows of slabs of w x h; `alternate` darkens every other
// slab, as in a chequered hall.
Tone stone(int x, int y, double w, double h, bool bond, bool alternate, Tone dark, Tone light,
           uint32_t seed) {
    const Slab s = slabAt(x, y, w, h, seed, bond, w / 2, 0);
    Tone surface = mix(dark, light, rnd(s.col, s.row, seed + 1));
    if (alternate && (s.col + s.row) % 2) surface = surface * 0.62;
    surface = surface * (0.8 + 0.32 * fractal(x, y, 12, 3, seed + 2));
    if (rnd(x, y, seed + 3) > 0.985) surface = surface * 0.7; // pits
    surface = surface * (0.85 + 0.25 * fractal(x, y, 110, 2, seed + 4));
    return slabEdges(s, surface, Tone{15, 14, 13}, 1.5);
}

Tone flagstones(int x, int y, const FloorSquare&) {
    return stone(x, y, 48, 24, true, false, {34, 33, 31}, {50, 48, 45}, 31);
}

Tone squares(int x, int y, const FloorSquare&) {
    return stone(x, y, 32, 32, false, false, {36, 34, 31}, {50, 47, 42}, 41);
}

Tone checkers(int x, int y, const FloorSquare&) {
    return stone(x, y, 48, 48, false, true, {44, 41, 37}, {56, 52, 46}, 51);
}

// Dark polished slabs with a diamond of bronze let into each.
Tone inlay(int x, int y, const FloorSquare&) {
    const Slab s = slabAt(x, y, 64, 64, 61, false, 16, 16);
    Tone surface = mix({26, 23, 30}, {34, 30, 38}, rnd(s.col, s.row, 62));
    surface = surface * (0.88 + 0.2 * fractal(x, y, 30, 3, 63));
    const double diamond = std::abs(s.lx - 32) + std::abs(s.ly - 32);
    const double line = std::abs(diamond - 22);
    surface = mix(surface, Tone{84, 64, 36}, 0.8 * (1 - step(0.4, 1.2, line)));
    return slabEdges(s, surface, Tone{12, 11, 14}, 1.2, 0.25);
}

// Boards four to a square, joints staggered, with the grain along them.
Tone planks(int x, int y, const FloorSquare&) {
    const Slab s = slabAt(x, y, 88, 8, 71, true);
    Tone wood = mix({34, 23, 15}, {54, 37, 23}, rnd(s.col, s.row, 72));
    const double grain = noise::value(x, y * 9.0, 26, 73 + s.row);
    wood = wood * (0.78 + 0.38 * grain);
    wood = wood * (0.85 + 0.25 * fractal(x, y, 120, 2, 74));
    // A nail at each end of a board.
    for (double nx : {4.0, s.w - 5.0}) wood = bolt(wood, s.lx - nx, s.ly - 3.5, 0.8, {40, 38, 36});
    return slabEdges(s, wood, Tone{10, 7, 5}, 1.0, 0.12);
}

// Small glazed tiles with thin grout.
Tone tiles(int x, int y, const FloorSquare&) {
    const Slab s = slabAt(x, y, 16, 16, 81, false, 8, 8);
    Tone glaze = mix({40, 44, 42}, {50, 54, 51}, rnd(s.col, s.row, 82));
    glaze = glaze * (0.9 + 0.16 * fractal(x, y, 60, 3, 83));
    return slabEdges(s, glaze, Tone{18, 19, 18}, 0.9, 0.15);
}

// Iron plates with a raised tread and a rivet in each corner.
Tone ironplate(int x, int y, const FloorSquare&) {
    const Slab s = slabAt(x, y, 32, 32, 91, false, 16, 16);
    Tone iron = mix({34, 35, 37}, {44, 45, 47}, rnd(s.col, s.row, 92));
    iron = iron * (0.8 + 0.3 * fractal(x, y, 40, 3, 93));
    iron = tread(iron, s.lx, s.ly);
    for (double rx : {4.0, 27.0})
        for (double ry : {4.0, 27.0}) iron = bolt(iron, s.lx - rx, s.ly - ry, 1.4, {52, 52, 54});
    return slabEdges(s, iron, Tone{12, 12, 13}, 1.0, 0.25);
}

} // namespace

FloorPainter fortressFloor(const std::string& style) {
    static const std::map<std::string, FloorPainter> painters = {
        {"gravel", gravel},   {"courtyard", courtyard}, {"flagstones", flagstones},
        {"squares", squares}, {"checkers", checkers},   {"inlay", inlay},
        {"planks", planks},   {"tiles", tiles},         {"ironplate", ironplate},
    };
    const auto it = painters.find(style);
    return it == painters.end() ? nullptr : it->second;
}

} // namespace korvath::assets
