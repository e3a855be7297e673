#pragma once
#include "game/state/BattleState.h"

#include <nlohmann/json.hpp>

namespace korvath {

// "forecast X Y": the selected soldier's walk order towards square (X, Y)
// worked out ahead; {"forecast": null} where no walk would start.
nlohmann::json forecastJson(const BattleState& b, int x, int y);
// "threats": the squares the selected soldier (or the first living Raider)
// would draw reaction fire on, with the watchers.
nlohmann::json threatsJson(const BattleState& b);

} // namespace korvath
