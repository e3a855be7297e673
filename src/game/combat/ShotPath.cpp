#include "game/combat/ShotPath.h"
#include "game/state/Pieces.h"

#include "game/combat/PixelMath.h"
#include "game/combat/Sight.h"

#include <cmath>

namespace korvath {

namespace {

using pixel_math::nearest;
using pixel_math::squareOf;
using pixel_math::trunc;

} // namespace

int livingSoldierAt(const BattleState& b, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X == x && p.Y == y && p.Wounds > 0) return i;
    }
    return 0;
}

int unscatteredDegree(const PieceRecord& shooter, int mx, int my) {
    double angle = Bearing(shotStartX(shooter), shotStartY(shooter), mx, my);
    if (angle < 0) angle += 360;
    if (angle > 360) angle -= 360;
    return trunc(angle);
}

ShotStop predictShot(const BattleState& b, int i, int d, double x0, double y0) {
    ShotStop out;
    if (!isPiece(b, i)) return out;
    const EquipmentType& weapon = b.item(b.Pieces[i].Items[1]);
    const bool flames = weapon.Effect == "Flames";
    const int steps = flames ? 10 : 15;
    if (d < 0 || d > 360) d = ((d % 360) + 360) % 360;
    const double dx = b.CosTable[d], dy = b.SinTable[d];

    double x = x0, y = y0;
    bool continuing = dx != 0 || dy != 0;
    auto stop = [&](ShotEnd end, int px, int py) {
        out.end = end;
        out.x = squareOf(px);
        out.y = squareOf(py);
        continuing = false;
    };
    do {
        // Nothing is met within the first segment: the shot leaves the shooter's square.
        const bool firstSegment = x == x0 && y == y0;
        for (int step = 1; step <= steps && continuing; ++step) {
            x += dx;
            y += dy;
            if (firstSegment) continue;
            const int tx = trunc(x), ty = trunc(y);
            if (b.TerrainBitmap.pixel(tx, ty) != 0 &&
                b.cellAt(squareOf(tx), squareOf(ty)).Solidity >= 2)
                stop(ShotEnd::Obstacle, tx, ty);
            const int nx = nearest(x), ny = nearest(y);
            if (b.TerrainBitmap.pixel(nx, ny) != 0 &&
                b.cellAt(squareOf(nx), squareOf(ny)).Solidity == 1)
                if (const int found = livingSoldierAt(b, squareOf(nx), squareOf(ny))) {
                    stop(ShotEnd::Soldier, nx, ny);
                    out.soldier = found;
                }
        }
        const int travelled = nearest(std::sqrt((x - x0) * (x - x0) + (y - y0) * (y - y0)));
        if (continuing && weapon.Range * kSquare < travelled)
            stop(ShotEnd::Spent, trunc(x), trunc(y));
    } while (x > 0 && y >= 0 && x < kMapPixelsX && y < kMapPixelsY && continuing);
    if (continuing) stop(ShotEnd::OffMap, trunc(x), trunc(y));
    out.px = x;
    out.py = y;
    return out;
}

std::string describeShot(const ShotOutcome& s) {
    switch (s.end) {
    case ShotEnd::Obstacle:
        return s.what.empty() ? "Stopped" : "Stopped by " + s.what;
    case ShotEnd::Soldier:
        return "Hit " + s.what;
    case ShotEnd::Spent:
        return "Out of range";
    case ShotEnd::OffMap:
        return "Left the map";
    case ShotEnd::None:
        break;
    }
    return {};
}

} // namespace korvath
