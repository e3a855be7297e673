#pragma once
#include "game/state/BattleState.h"

#include <nlohmann/json.hpp>

namespace korvath {

// "odds MX MY": the exact chances of the selected soldier's armed shot or
// blow at map pixel (MX, MY); {"odds": null} where a click would do neither.
nlohmann::ordered_json oddsJson(const BattleState& b, int mx, int my);

} // namespace korvath
