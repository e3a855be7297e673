#pragma once
#include "Battle.h"

namespace korvath {

// Is map pixel (px, py) solid for this shooter's projectile? found gets the
// living soldier there, else 0. Breaks objects as a side effect.
bool ImpactTest(Battle& b, int shooter, int px, int py, int& found);
void FlameBurst(Battle& b, int shooter, double x, double y, int d);
// One damage roll of the soldier's item in hand.
int RollDamage(Battle& b, int soldier);

} // namespace korvath
