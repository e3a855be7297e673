#pragma once
#include "game/state/BattleState.h"

#include <nlohmann/json.hpp>

namespace korvath {

// "gridplan ROW": what a click on row ROW (0..5) of the equipment grid would
// do now that a row is armed; {"gridplan": null} when no row is armed or no
// soldier's kit is shown.
nlohmann::json gridPlanJson(const BattleState& b, int row);

} // namespace korvath
