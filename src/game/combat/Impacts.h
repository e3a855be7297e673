#pragma once
#include "game/combat/DamageDice.h"
#include "game/state/Battle.h"

#include <string>

namespace korvath {

// Is map pixel (px, py) solid for this shooter's projectile? found gets the
// living soldier there, else 0. Breaks objects as a side effect.
bool ImpactTest(Battle& b, int shooter, int px, int py, int& found);
void FlameBurst(Battle& b, int shooter, double x, double y, int d);

} // namespace korvath
