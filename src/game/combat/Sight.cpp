#include "game/combat/Sight.h"
#include "game/combat/Flight.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// Combat geometry: who is an enemy, who sees whom, what a shot would meet,
// distances and directions. Rays march in pixel space over the battlefield.
namespace korvath {

namespace {

using pixel_math::nearest;
using pixel_math::squareOf;
using pixel_math::trunc;

bool insidePicture(double x, double y) {
    return x >= 0.0 && y >= 0.0 && x < kMapPixelsX && y < kMapPixelsY;
}

// Whole degrees index the direction tables; any whole number is folded into 0..359.
int degreeIndex(int d) {
    return ((d % 360) + 360) % 360;
}

// The developer's sight-trace view: the pixel a ray passes shows white on the screen.
void paintTrace(Screen& screen, double x, double y) {
    const int px = nearest(x), py = nearest(y);
    if (!screen.MapImage.contains(px, py)) return;
    screen.MapImage.setPixel(px, py, rgb(255, 255, 255));
    screen.markDirty(px, py, px + 1, py + 1);
}

// Pixel offsets 9..23 of a square: the middle where a sighting counts.
bool inMiddle(int offset) {
    return offset > 8 && offset < 24;
}

// The side the sight test asks the enemy test about: the literal side
// numbers 1 in the human turn and 2 in the computer's.
int lookingSide(const BattleState& b) {
    return b.HumanTurn ? Side::Raiders : Side::Operatives;
}

bool enemyOf(const BattleState& b, const PieceRecord& p, int side) {
    return p.Wounds > 0 && (b.HumanTurn ? p.Side == b.HumanSide : p.Side != side);
}

// Does soldier i stand on square (x, y)? In the battle itself his record says;
// a ground of a dry run may have moved him (FlightGround::square).
struct OnRecordedSquare {
    const BattleState& b;
    bool operator()(int i, int x, int y) const { return b.Pieces[i].X == x && b.Pieces[i].Y == y; }
};
struct OnGroundSquare {
    const FlightGround& g;
    bool operator()(int i, int x, int y) const {
        const Point at = g.square(i);
        return at.x == x && at.y == y;
    }
};

// Would the enemy test on the target's own square name the target? Only then
// can any ray find him.
template <typename StandsOn>
bool firstEnemyOnHisSquare(const BattleState& b, int target, Point at, StandsOn standsOn) {
    const int side = lookingSide(b);
    if (b.VsComputer != 1 || !enemyOf(b, b.Pieces[target], side)) return false;
    for (int i = 1; i < target; ++i)
        if (standsOn(i, at.x, at.y) && enemyOf(b, b.Pieces[i], side)) return false;
    return true;
}

// The enemy test runs for every degree of the sight march: the battle's own
// squares are read straight from the records, without a ground in between.
template <typename StandsOn>
bool enemyOn(const BattleState& b, int side, int x, int y, int& found, StandsOn standsOn) {
    found = 0;
    if (b.VsComputer != 1) return false;
    for (int i = 1; i <= kMaxPieces; ++i) {
        // In the human turn the computer's reaction fire asks: the enemy is
        // always a human soldier, whatever side is named.
        if (standsOn(i, x, y) && enemyOf(b, b.Pieces[i], side)) {
            found = i;
            return true;
        }
    }
    return false;
}

} // namespace

bool IsEnemy(const BattleState& b, int side, int x, int y, int& found) {
    return enemyOn(b, side, x, y, found, OnRecordedSquare{b});
}

bool IsEnemy(const FlightGround& g, int side, int x, int y, int& found) {
    return enemyOn(g.battle(), side, x, y, found, OnGroundSquare{g});
}

bool ICanSeeTheEnemyByMarch(const BattleState& b, int viewer, int target, Screen* traces) {
    if (!validIndex(viewer) || !validIndex(target)) return false;
    const PieceRecord& v = b.Pieces[viewer];
    const int lookSide = lookingSide(b);
    Screen* const paint = b.sightTraces ? traces : nullptr;
    int found = 0;
    for (int d = 1; d <= 360; ++d) {
        double x = v.X * kSquare - 16.0;
        double y = v.Y * kSquare - 16.0;
        const double cx = b.CosTable[d], sy = b.SinTable[d];
        bool offMap = false;
        while (true) {
            x += 8 * cx;
            y += 8 * sy;
            if (paint) paintTrace(*paint, x, y);
            if (!insidePicture(x, y)) {
                offMap = true;
                break;
            }
            const int sx = squareOf(trunc(x)), sqy = squareOf(trunc(y));
            if ((sx != v.X || sqy != v.Y) && b.cellAt(sx, sqy).Solidity != 0) break;
        }
        if (offMap) continue;
        // Look a little further: the sighting counts only when that point lies
        // well inside the square, so grazing a corner shows nothing.
        x += 10 * cx;
        y += 10 * sy;
        const int tx = trunc(x), ty = trunc(y);
        const int sx = squareOf(tx), sqy = squareOf(ty);
        const int ox = tx - (sx - 1) * kSquare, oy = ty - (sqy - 1) * kSquare;
        if (inMiddle(ox) && inMiddle(oy)) IsEnemy(b, lookSide, sx, sqy, found);
        if (found == target) return true;
    }
    return false;
}

namespace {

// Marches the ray of degree d from the viewer's centre (cx, cy) exactly as the
// 360-degree test does, for at most `steps` steps. True when it stopped on an
// occupied square, with (x, y) at the look-ahead point 10 pixels further.
template <typename SolidityAt>
bool marchRay(const BattleState& b, Point v, int d, int steps, double cx, double cy, double& x,
              double& y, SolidityAt solidityAt) {
    const double dx = 8 * b.CosTable[d], dy = 8 * b.SinTable[d];
    x = cx;
    y = cy;
    for (int k = 0; k < steps; ++k) {
        x += dx;
        y += dy;
        if (!insidePicture(x, y)) return false;
        // Inside the picture the pixels are positive: a shift divides by 32.
        const int sx = (static_cast<int>(x) >> 5) + 1, sy = (static_cast<int>(y) >> 5) + 1;
        if ((sx != v.x || sy != v.y) && solidityAt(sx, sy) != 0) {
            x += 10 * b.CosTable[d];
            y += 10 * b.SinTable[d];
            return true;
        }
    }
    return false;
}

// Does the line from (cx, cy) in direction (ux, uy) pass through the box
// [left, right] x [top, bottom]? Not when all four corners lie on one side.
bool lineCrossesBox(double cx, double cy, double ux, double uy, double left, double top,
                    double right, double bottom) {
    int below = 0, above = 0;
    for (const double px : {left, right})
        for (const double py : {top, bottom}) {
            const double cross = (px - cx) * uy - (py - cy) * ux;
            below += cross < 0;
            above += cross > 0;
        }
    return below < 4 && above < 4;
}

} // namespace

// The same answer as the march over all 360 degrees, with far less work. A
// ray can show the target only when its look-ahead point lands in the middle
// of the target's square, and that point lies on the ray: so only the few
// degrees whose line crosses that middle box need marching, each exactly as
// the march does it and no further than the box. And a target is only ever
// "found" where the enemy test names him for his own square.
bool ICanSeeTheEnemy(const BattleState& b, int viewer, int target, Screen* traces) {
    if (!validIndex(viewer) || !validIndex(target)) return false;
    if (b.sightTraces && traces) return ICanSeeTheEnemyByMarch(b, viewer, target, traces);
    const PieceRecord& v = b.Pieces[viewer];
    const PieceRecord& t = b.Pieces[target];
    if (!firstEnemyOnHisSquare(b, target, {t.X, t.Y}, OnRecordedSquare{b})) return false;
    // Off the map or in the viewer's own square the geometry below does not
    // hold; such odd records are left to the march.
    if (!BattleState::onMap(v.X, v.Y) || !BattleState::onMap(t.X, t.Y) ||
        (v.X == t.X && v.Y == t.Y))
        return ICanSeeTheEnemyByMarch(b, viewer, target, traces);
    return SightReachesSquare(b, viewer, t.X, t.Y);
}

namespace {

// The geometry of the sight test from square v, over the squares'
// Solidity as solidityAt(x, y) gives it.
template <typename SolidityAt>
bool sightReaches(const BattleState& b, Point v, int tx, int ty, SolidityAt solidityAt) {
    if (!BattleState::onMap(v.x, v.y) || !BattleState::onMap(tx, ty) || (v.x == tx && v.y == ty))
        return false;
    // The middle box: pixels 9..23 of the target's square, so the look-ahead
    // point must lie in [9, 24) of it on both axes. It lies within 10.61
    // pixels of its centre point, so only the degrees of that circle's cone
    // are candidates. The rays stray from their ideal lines by less than a
    // millionth of a pixel: a thousandth of a pixel, half a degree and two
    // pixels of reach are ample to spare.
    const double cx = v.x * kSquare - 16.0, cy = v.y * kSquare - 16.0;
    const double left = (tx - 1) * kSquare + 9, top = (ty - 1) * kSquare + 9;
    const double boxX = left + 7.5, boxY = top + 7.5;
    constexpr double kBoxRadius = 10.61, kSpare = 0.001, kDegree = 180.0 / std::numbers::pi;
    const double distance = std::hypot(boxX - cx, boxY - cy);
    const double mid = std::atan2(boxY - cy, boxX - cx) * kDegree;
    const double halfWidth = std::asin(kBoxRadius / distance) * kDegree + 0.5;
    const int steps = static_cast<int>((distance + kBoxRadius - 10 + 2) / 8) + 1;
    for (int a = static_cast<int>(std::floor(mid - halfWidth));
         a <= static_cast<int>(std::ceil(mid + halfWidth)); ++a) {
        const int d = degreeIndex(a) == 0 ? 360 : degreeIndex(a);
        if (!lineCrossesBox(cx, cy, b.CosTable[d], b.SinTable[d], left - kSpare, top - kSpare,
                            left + 15 + kSpare, top + 15 + kSpare))
            continue;
        double x = 0, y = 0;
        if (!marchRay(b, v, d, steps, cx, cy, x, y, solidityAt)) continue;
        const int px = trunc(x), py = trunc(y);
        const int sx = squareOf(px), sy = squareOf(py);
        if (sx == tx && sy == ty && inMiddle(px - (sx - 1) * kSquare) &&
            inMiddle(py - (sy - 1) * kSquare))
            return true;
    }
    return false;
}

} // namespace

bool SightReachesSquare(const BattleState& b, int viewer, int tx, int ty) {
    if (!validIndex(viewer)) return false;
    const PieceRecord& v = b.Pieces[viewer];
    return sightReaches(b, {v.X, v.Y}, tx, ty,
                        [&b](int x, int y) { return b.MapGrid[x][y].Solidity; });
}

bool ICanSeeTheEnemy(const FlightGround& g, int viewer, int target) {
    const BattleState& b = g.battle();
    if (!validIndex(viewer) || !validIndex(target)) return false;
    const Point t = g.square(target);
    if (!firstEnemyOnHisSquare(b, target, t, OnGroundSquare{g})) return false;
    return sightReaches(b, g.square(viewer), t.x, t.y,
                        [&g](int x, int y) { return g.cell(x, y).Solidity; });
}

bool TraceShotLine(const BattleState& b, int shooter, int& hitX, int& hitY, double angle,
                   double startX, double startY) {
    return TraceShotLine(FlightGround(b), shooter, hitX, hitY, angle, startX, startY);
}

bool TraceShotLine(const FlightGround& g, int shooter, int& hitX, int& hitY, double angle,
                   double startX, double startY) {
    const BattleState& b = g.battle();
    hitX = 0;
    hitY = 0;
    const int s0x = squareOf(nearest(startX)), s0y = squareOf(nearest(startY));
    const int side = pieceOrNone(b, shooter).Side;
    const int i = degreeIndex(nearest(angle));
    while (true) {
        startX += b.CosTable[i];
        startY += b.SinTable[i];
        const int px = nearest(startX), py = nearest(startY);
        if (px < 0 || py < 0 || px >= kMapPixelsX || py >= kMapPixelsY) return false;
        if (g.pixel(px, py) == 0) continue;
        const int sx = squareOf(px), sy = squareOf(py);
        if (sx == s0x && sy == s0y) continue;
        const int solidity = g.cell(sx, sy).Solidity;
        if (solidity == 1) {
            int found = 0;
            hitX = sx;
            hitY = sy;
            return IsEnemy(g, side, sx, sy, found);
        }
        if (solidity >= 2) return false;
    }
}

int PieceDistance(const FlightGround& g, int a, int c) {
    if (!validIndex(a) || !validIndex(c)) return PieceDistance(g.battle(), a, c);
    const Point p = g.square(a), q = g.square(c);
    const double dx = q.x - p.x, dy = q.y - p.y;
    return nearest(std::sqrt(dx * dx + dy * dy));
}

int PieceDistance(const BattleState& b, int a, int c) {
    const PieceRecord& p = pieceOrNone(b, a);
    const PieceRecord& q = pieceOrNone(b, c);
    const double dx = q.X - p.X, dy = q.Y - p.Y;
    return nearest(std::sqrt(dx * dx + dy * dy));
}

int nearestComputerSoldier(const BattleState& b, int x, int y) {
    int best = 1000, found = 0;
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Side != Side::Operatives || p.Wounds <= 0) continue;
        const double dy = p.Y - y, dx = p.X - x;
        const int d = nearest(std::sqrt(dy * dy + dx * dx));
        if (d < best) {
            best = d;
            found = i;
        }
    }
    return found;
}

int NearestEnemy(BattleState& b, int piece, int x, int y, bool& visible, int& target,
                 Screen* traces) {
    target = 1000;
    visible = false;
    int bestSeen = 1000, bestUnseen = 1000;
    int seenIndex = 0, unseenIndex = 0;
    const bool ascending = b.rng.random(2) + 1 == 1;
    if (b.VsComputer != 1) return 1000;

    auto distanceTo = [&](const PieceRecord& p) {
        const double dy = p.Y - y, dx = p.X - x;
        return nearest(std::sqrt(dy * dy + dx * dx));
    };

    if (!b.HumanTurn) {
        for (int k = 1; k <= kMaxPieces; ++k) {
            const int i = ascending ? k : kMaxPieces + 1 - k;
            const PieceRecord& p = b.Pieces[i];
            if (p.Side != Side::Raiders || p.Wounds <= 0) continue;
            const int d = distanceTo(p);
            // Sight is the costly part: ask at most once per soldier.
            int seen = -1;
            if (d < bestSeen) {
                seen = ICanSeeTheEnemy(b, piece, i, traces) ? 1 : 0;
                if (seen) {
                    seenIndex = i;
                    bestSeen = d;
                }
            }
            if (d < bestUnseen) {
                if (seen < 0) seen = ICanSeeTheEnemy(b, piece, i, traces) ? 1 : 0;
                if (!seen) {
                    unseenIndex = i;
                    bestUnseen = d;
                }
            }
        }
    } else {
        // A moving human soldier asks only which computer soldier is nearest.
        if (const int i = nearestComputerSoldier(b, x, y)) target = i;
    }

    if (seenIndex > 0) {
        target = seenIndex;
        visible = true;
        return bestSeen;
    }
    if (unseenIndex > 0) {
        target = unseenIndex;
        visible = false;
        return bestUnseen;
    }
    return 1000;
}

double Bearing(double sx, double sy, double tx, double ty) {
    const double dx = sx - tx, dy = sy - ty;
    double a = dy == 0 ? 90.0 : std::atan(dx / dy) * 180.0 / std::numbers::pi;
    if (sx > tx && sy <= ty) return std::fabs(a) + 90;
    if (sx > tx) return 270 - a;
    if (sy > ty) return std::fabs(a) + 270;
    return 90 - a;
}

} // namespace korvath
