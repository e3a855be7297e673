#include "Sight.h"

#include <cmath>
#include <numbers>

// Combat geometry: who is an enemy, who sees whom, what a shot would meet,
// distances and directions. Rays march in pixel space over the battlefield.
namespace korvath {

namespace {

int trunc(double v) {
    return static_cast<int>(v);
}
int nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

bool validPiece(int i) {
    return i >= 1 && i <= kMaxPieces;
}

// Pixel coordinate to square number (1-based), dividing toward zero.
int squareOf(int pixel) {
    return pixel / kSquare + 1;
}

bool insidePicture(double x, double y) {
    return x >= 0.0 && y >= 0.0 && x < kMapPixelsX && y < kMapPixelsY;
}

// Whole degrees index the direction tables; any whole number is folded into 0..359.
int degreeIndex(int d) {
    return ((d % 360) + 360) % 360;
}

const PieceRecord& pieceOrEmpty(const Battle& b, int i) {
    static const PieceRecord none{};
    return validPiece(i) ? b.Pieces[i] : none;
}

// The developer's sight-trace view: the pixel a ray passes shows white on the screen.
void paintTrace(Battle& b, double x, double y) {
    const int px = nearest(x), py = nearest(y);
    if (!b.MapImage.contains(px, py)) return;
    b.MapImage.setPixel(px, py, rgb(255, 255, 255));
    b.markDirty(px, py, px + 1, py + 1);
}

} // namespace

bool IsEnemy(const Battle& b, int side, int x, int y, int& found) {
    found = 0;
    if (b.VsComputer != 1) return false;
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X != x || p.Y != y || p.Wounds <= 0) continue;
        // In the human turn the computer's reaction fire asks: the enemy is
        // always a human soldier, whatever side is named.
        const bool enemy = b.HumanTurn ? p.Side == b.HumanSide : p.Side != side;
        if (enemy) {
            found = i;
            return true;
        }
    }
    return false;
}

bool ICanSeeTheEnemy(Battle& b, int viewer, int target) {
    if (!validPiece(viewer) || !validPiece(target)) return false;
    const PieceRecord& v = b.Pieces[viewer];
    const int lookSide = b.HumanTurn ? 1 : 2;
    const bool paint = b.controls.IwannaC1.down;
    int found = 0;
    for (int d = 1; d <= 360; ++d) {
        double x = v.X * kSquare - 16.0;
        double y = v.Y * kSquare - 16.0;
        const double cx = b.CosTable[d], sy = b.SinTable[d];
        bool offMap = false;
        while (true) {
            x += 8 * cx;
            y += 8 * sy;
            if (paint) paintTrace(b, x, y);
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
        if (ox > 8 && ox < 24 && oy > 8 && oy < 24) IsEnemy(b, lookSide, sx, sqy, found);
        if (found == target) return true;
    }
    return false;
}

bool TraceShotLine(Battle& b, int shooter, int& hitX, int& hitY, double angle, double startX,
                   double startY) {
    hitX = 0;
    hitY = 0;
    const int s0x = squareOf(nearest(startX)), s0y = squareOf(nearest(startY));
    const int side = pieceOrEmpty(b, shooter).Side;
    const int i = degreeIndex(nearest(angle));
    while (true) {
        startX += b.CosTable[i];
        startY += b.SinTable[i];
        const int px = nearest(startX), py = nearest(startY);
        if (px < 0 || py < 0 || px >= kMapPixelsX || py >= kMapPixelsY) return false;
        if (b.TerrainBitmap.pixel(px, py) == 0) continue;
        const int sx = squareOf(px), sy = squareOf(py);
        if (sx == s0x && sy == s0y) continue;
        const int solidity = b.cellAt(sx, sy).Solidity;
        if (solidity == 1) {
            int found = 0;
            hitX = sx;
            hitY = sy;
            return IsEnemy(b, side, sx, sy, found);
        }
        if (solidity >= 2) return false;
    }
}

int PieceDistance(const Battle& b, int a, int c) {
    const PieceRecord& p = pieceOrEmpty(b, a);
    const PieceRecord& q = pieceOrEmpty(b, c);
    const double dx = q.X - p.X, dy = q.Y - p.Y;
    return nearest(std::sqrt(dx * dx + dy * dy));
}

int NearestEnemy(Battle& b, int piece, int x, int y, bool& visible, int& target) {
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
            if (p.Side != 1 || p.Wounds <= 0) continue;
            const int d = distanceTo(p);
            // Sight is the costly part: ask at most once per soldier.
            int seen = -1;
            if (d < bestSeen) {
                seen = ICanSeeTheEnemy(b, piece, i) ? 1 : 0;
                if (seen) {
                    seenIndex = i;
                    bestSeen = d;
                }
            }
            if (d < bestUnseen) {
                if (seen < 0) seen = ICanSeeTheEnemy(b, piece, i) ? 1 : 0;
                if (!seen) {
                    unseenIndex = i;
                    bestUnseen = d;
                }
            }
        }
    } else {
        // A moving human soldier asks only which computer soldier is nearest.
        int best = 1000;
        for (int i = 1; i <= kMaxPieces; ++i) {
            const PieceRecord& p = b.Pieces[i];
            if (p.Side != 2 || p.Wounds <= 0) continue;
            const int d = distanceTo(p);
            if (d < best) {
                best = d;
                target = i;
            }
        }
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
