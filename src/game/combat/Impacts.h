#pragma once
#include "game/state/Battle.h"

#include <string>

namespace korvath {

// Is map pixel (px, py) solid for this shooter's projectile? found gets the
// living soldier there, else 0. Breaks objects as a side effect.
bool ImpactTest(Battle& b, int shooter, int px, int py, int& found);
void FlameBurst(Battle& b, int shooter, double x, double y, int d);
// One damage roll of the soldier's item in hand. A damage text that is not
// "NdM" is told to the player (once) and does no damage.
int RollDamage(Battle& b, int soldier);

// "NdM": N dice of M sides, N 1..1000, M 1..1000000. False for anything else.
bool parseDamageDice(const std::string& text, int& n, int& m);

// Tells the player, once per text, that equipment type `item` holds bad data,
// naming the scenario file and the line the item comes from.
void reportEquipmentError(Battle& b, int item, const std::string& reason);

} // namespace korvath
