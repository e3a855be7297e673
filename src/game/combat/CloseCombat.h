#pragma once
#include "game/state/BattleState.h"
#include "game/state/Ports.h"

namespace korvath {

// A blow at map pixel (mx, my), from the map click in hand-to-hand mode. True
// when a soldier's points or wounds changed, so that the squad is drawn anew.
bool strikeBlow(BattleState& b, const Ports& ports, int mx, int my);

} // namespace korvath
