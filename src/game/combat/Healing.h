#pragma once
#include "game/state/BattleState.h"
#include "game/state/Ports.h"

namespace korvath {

// The kit in the armed slot of the equipment grid, applied by the selected
// soldier to the own soldier at map pixel (mx, my). True when a soldier was
// treated, so that the squad is drawn anew.
bool treatWounded(BattleState& b, const Ports& ports, int mx, int my);

} // namespace korvath
