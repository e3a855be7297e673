#pragma once
#include "game/state/BattleState.h"
#include "game/state/Ports.h"

#include <string>

namespace korvath {

// One damage roll of the soldier's item in hand. A damage text that is not
// "NdM" is told to the player (once, through the ports' warning) and does no damage.
int RollDamage(BattleState& b, const Ports& ports, int soldier);

// "NdM": N dice of M sides, N 1..1000, M 1..1000000. False for anything else.
bool parseDamageDice(const std::string& text, int& n, int& m);

} // namespace korvath
