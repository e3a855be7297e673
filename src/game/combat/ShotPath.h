#pragma once
#include "game/state/BattleEvent.h"
#include "game/state/BattleState.h"

#include <string>

// Where a shot would go: its flight worked out without any dice and without
// touching the battle, for the aids that show it before the trigger is pulled.
namespace korvath {

struct ShotStop {
    ShotEnd end = ShotEnd::None;
    int x = 0, y = 0;      // the square of its last point
    double px = 0, py = 0; // its last point
    int soldier = 0;       // the soldier it strikes
};

// The middle of soldier i's square, where his shots leave from.
inline double shotStartX(const PieceRecord& p) {
    return p.X * kSquare - 16;
}
inline double shotStartY(const PieceRecord& p) {
    return p.Y * kSquare - 16;
}

// The whole degree in which soldier i's shot at map pixel (mx, my) flies when
// it does not stray.
int unscatteredDegree(const PieceRecord& shooter, int mx, int my);

// The flight of soldier i's shot in whole degree d from (x0, y0), flown as
// FireBullet flies it, with nothing rolled: the first obstacle met at the
// pixel the shot stands on, the first living soldier met at the pixel nearest
// to it, the end of the weapon's range or the edge of the map. An object the
// shot only grazes may break under its dice and let it fly on; this is where
// it stops when nothing breaks. (A flame's jet also lights the pixels its own
// trace covers.)
ShotStop predictShot(const BattleState& b, int i, int d, double x0, double y0);

// "Stopped by Stone wall", "Hit Grell the Axe", "Out of range", "Left the map".
std::string describeShot(const ShotStopped& s);

} // namespace korvath
