#pragma once
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// Where the chosen scenario's files are: the game folder's scenarios/ for the
// two that come with the game, the scenario's own folder for a player's
// (DataError for a name that would lead out of it).
std::string scenarioFilePath(const BattleState& b, const std::string& name);
// A picture the scenario names (its tiles, its soldiers): a player's
// scenario may bring its own, else the game folder's graphics/ has it.
std::string graphicsFilePath(const BattleState& b, const std::string& name);
// The same for the game folder appDir and a scenario's folder ("" for the
// two that come with the game).
std::string scenarioFileOf(const std::string& appDir, const std::string& folder,
                           const std::string& name);
std::string graphicsFileOf(const std::string& appDir, const std::string& folder,
                           const std::string& name);
// A picture only the scenario itself can have (its floors, its briefing
// picture): "" when a player's scenario does not bring it.
std::string ownGraphicsFilePath(const BattleState& b, const std::string& name);

} // namespace korvath
