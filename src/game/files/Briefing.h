#pragma once
#include "game/state/BattleState.h"

#include <string>
#include <vector>

namespace korvath {

// What the briefing shows before a battle: read from the scenario's files,
// in the game's folder or the player's scenario folder.

// The briefing text: the lines strictly between the two marker lines of the
// scenario description (up to the end of the file when the closing one is missing).
std::vector<std::string> briefingLines(const BattleState& b);
// The briefing picture's path.
std::string briefingPicturePath(const BattleState& b);
// The scenario's name as the player knows it ("Starship Vexlar F-242").
std::string scenarioTitle(const BattleState& b);

} // namespace korvath
