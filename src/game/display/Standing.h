#pragma once
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// How the battle stands, for the status bar: "Turn 3 · your turn · Raiders 7,
// Operatives 12 · won by destroying Mardok or every Operative". In UTF-8.
std::string standingLine(const BattleState& b);

} // namespace korvath
