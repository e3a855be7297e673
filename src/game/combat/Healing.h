#pragma once
#include "game/state/Battle.h"

namespace korvath {

// The kit in the armed slot of the equipment grid, applied by the selected
// soldier to the own soldier at map pixel (mx, my).
void healingClick(Battle& b, int mx, int my);

} // namespace korvath
