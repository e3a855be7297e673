// The decks of the Starship Vexlar: bolted deck plates, gratings over the
// machinery, painted lines along the corridors and hazard bands in the
// docking bay. Dark steel, so that soldiers, discs and traces stand out.
#include "assets/FloorArt.h"
#include "assets/FloorSlabs.h"

#include <map>

namespace korvath::assets {

namespace {

using noise::fractal;
using noise::mix;
using noise::rnd;
using noise::step;
using noise::Tone;

const Tone kSeam{10, 11, 13};
const Tone kPaint{126, 104, 30};

// Steel plates of w x h, brushed one way or the other, scuffed, with a bolt
// in each corner.
Tone plate(int x, int y, double w, double h, Tone dark, Tone light, uint32_t seed) {
    const Slab s = slabAt(x, y, w, h, seed, false, w / 2, h / 2);
    Tone steel = mix(dark, light, rnd(s.col, s.row, seed + 1));
    const bool across = (s.col + s.row) % 2;
    const double brush = noise::value(across ? x * 0.15 : x, across ? y : y * 0.15, 4, seed + 2);
    steel = steel * (0.9 + 0.14 * brush);
    steel = steel * (0.78 + 0.34 * fractal(x, y, 70, 3, seed + 3)); // scuffs and stains
    if (rnd(s.col, s.row, seed + 4) > 0.7) steel = tread(steel, s.lx, s.ly);
    for (double bx : {4.5, w - 5.5})
        for (double by : {4.5, h - 5.5})
            steel = bolt(steel, s.lx - bx, s.ly - by, 1.5, light * 1.3);
    return slabEdges(s, steel, kSeam, 1.0, 0.3);
}

// A painted line along each wall of the square, `inset` pixels from it.
Tone wallLines(Tone t, int x, int y, const FloorSquare& sq, double inset, double width,
               const Tone& paint) {
    const double px = x % 32 + 0.5, py = y % 32 + 0.5;
    const struct {
        uint8_t bit;
        double d;
    } sides[] = {{North, py}, {South, 32 - py}, {West, px}, {East, 32 - px}};
    for (const auto& s : sides)
        if ((sq.walls & s.bit) && s.d > inset && s.d < inset + width) {
            const double worn = 0.55 + 0.45 * fractal(x, y, 14, 3, 201);
            t = mix(t, paint * worn, 0.85);
        }
    return t;
}

// Yellow and black bands along each wall of the square.
Tone hazardBands(Tone t, int x, int y, const FloorSquare& sq) {
    const double px = x % 32 + 0.5, py = y % 32 + 0.5;
    const struct {
        uint8_t bit;
        double d;
    } sides[] = {{North, py}, {South, 32 - py}, {West, px}, {East, 32 - px}};
    for (const auto& s : sides)
        if ((sq.walls & s.bit) && s.d > 2 && s.d < 10) {
            const bool yellow = static_cast<int>(std::floor((x + y) / 6.0)) % 2 == 0;
            const double worn = 0.6 + 0.5 * fractal(x, y, 10, 3, 202);
            t = yellow ? mix(t, kPaint * worn, 0.9) : t * 0.5;
        }
    return t;
}

// An open grating: bars in a frame, and below them the dark of the machinery
// with a glow of its own.
Tone grating(int x, int y, const Tone& glow, uint32_t seed) {
    const Slab frame = slabAt(x, y, 32, 32, seed, false);
    const int gx = static_cast<int>(frame.lx) % 6, gy = static_cast<int>(frame.ly) % 4;
    const bool inFrame = frame.edge() < 2.5;
    Tone bar = mix({40, 43, 48}, {50, 54, 60}, rnd(frame.col, frame.row, seed + 1));
    bar = bar * (0.8 + 0.3 * fractal(x, y, 50, 2, seed + 2));
    if (inFrame) return slabEdges(frame, bar * 1.1, kSeam, 0.8, 0.3);
    if (gx >= 1 && gx <= 4 && gy >= 1 && gy <= 2) {
        const Tone below = mix({7, 8, 9}, glow, fractal(x, y, 90, 3, seed + 3));
        return below;
    }
    return bar * (gy == 0 || gx == 0 ? 1.15 : 0.85);
}

Tone dockingBay(int x, int y, const FloorSquare& sq) {
    return hazardBands(plate(x, y, 64, 64, {32, 36, 41}, {42, 46, 52}, 101), x, y, sq);
}

Tone cargoDeck(int x, int y, const FloorSquare& sq) {
    return wallLines(plate(x, y, 96, 32, {33, 35, 36}, {43, 45, 46}, 111), x, y, sq, 5, 2, kPaint);
}

// Plates along the walls with a painted line, a grating down the middle.
Tone corridor(int x, int y, const FloorSquare& sq) {
    if ((sq.walls & (North | South | East | West)) == 0) return grating(x, y, {26, 40, 46}, 121);
    return wallLines(plate(x, y, 32, 32, {32, 35, 40}, {41, 45, 51}, 122), x, y, sq, 6, 2.5,
                     kPaint);
}

Tone deckPlates(int x, int y, const FloorSquare&) {
    return plate(x, y, 64, 64, {31, 34, 39}, {41, 44, 50}, 131);
}

Tone engineGrating(int x, int y, const FloorSquare&) {
    return grating(x, y, {58, 26, 10}, 141);
}

Tone lifeSupportGrating(int x, int y, const FloorSquare&) {
    return grating(x, y, {14, 46, 30}, 151);
}

// Rubber deck tiles, chequered in two shades.
Tone deckTiles(int x, int y, Tone a, Tone b, uint32_t seed) {
    const Slab s = slabAt(x, y, 16, 16, seed, false);
    Tone t = (s.col + s.row) % 2 ? a : b;
    t = t * (0.9 + 0.12 * rnd(s.col, s.row, seed + 1));
    t = t * (0.84 + 0.26 * fractal(x, y, 80, 3, seed + 2));
    t = t * (0.95 + 0.1 * rnd(x, y, seed + 3));
    return slabEdges(s, t, kSeam, 0.8, 0.15);
}

Tone quarters(int x, int y, const FloorSquare&) {
    return deckTiles(x, y, {34, 36, 42}, {30, 32, 37}, 161);
}

Tone galley(int x, int y, const FloorSquare&) {
    return deckTiles(x, y, {44, 42, 38}, {26, 27, 30}, 171);
}

Tone sickBay(int x, int y, const FloorSquare&) {
    return deckTiles(x, y, {46, 52, 54}, {40, 46, 48}, 181);
}

// Dark polished plates with lit seams of blue.
Tone bridge(int x, int y, const FloorSquare&) {
    const Slab s = slabAt(x, y, 32, 32, 191, false, 16, 16);
    Tone t = mix({22, 25, 33}, {28, 31, 40}, rnd(s.col, s.row, 192));
    t = t * (0.9 + 0.18 * fractal(x, y, 40, 3, 193));
    t = mix(t, Tone{30, 64, 96}, 0.7 * (1 - step(0.5, 1.5, s.edge())));
    return t;
}

// Plates with glowing conduits running under them.
Tone coreChamber(int x, int y, const FloorSquare&) {
    Tone t = plate(x, y, 64, 64, {27, 26, 33}, {34, 33, 41}, 211);
    const double cx = std::abs(std::fmod(x + 16.0, 64.0) - 32),
                 cy = std::abs(std::fmod(y + 16.0, 64.0) - 32);
    const double d = std::min(cx, cy);
    const double pulse = 0.6 + 0.4 * fractal(x, y, 24, 2, 212);
    return mix(t, Tone{40, 120, 136} * pulse, 0.75 * (1 - step(0.8, 2.5, d)));
}

Tone brig(int x, int y, const FloorSquare& sq) {
    return wallLines(plate(x, y, 32, 32, {30, 31, 34}, {38, 39, 43}, 221), x, y, sq, 3, 2,
                     Tone{110, 40, 32});
}

Tone armoury(int x, int y, const FloorSquare&) {
    return plate(x, y, 32, 64, {33, 35, 38}, {42, 44, 48}, 231);
}

} // namespace

FloorPainter starshipFloor(const std::string& style) {
    static const std::map<std::string, FloorPainter> painters = {
        {"docking-bay", dockingBay},
        {"cargo-deck", cargoDeck},
        {"corridor", corridor},
        {"deck-plates", deckPlates},
        {"engine-grating", engineGrating},
        {"life-support-grating", lifeSupportGrating},
        {"quarters", quarters},
        {"galley", galley},
        {"sick-bay", sickBay},
        {"bridge", bridge},
        {"core-chamber", coreChamber},
        {"brig", brig},
        {"armoury", armoury},
    };
    const auto it = painters.find(style);
    return it == painters.end() ? nullptr : it->second;
}

} // namespace korvath::assets
