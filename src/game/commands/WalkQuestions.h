#pragma once
#include "game/combat/Threats.h"
#include "game/turns/WalkForecast.h"

#include <vector>

// The questions the walking aids ask, asked the same way by the battle
// window and by korvath-headless: what the selected soldier's walk to a
// square would meet, and where the enemy's reaction fire covers the ground.
// Both only read the battle.
namespace korvath {

// The selected soldier's walk order towards square (x, y), worked out ahead
// with the exact odds of each shot; `walks` is false when no walk would start.
WalkForecast forecastAt(const BattleState& b, int x, int y);
// The same over the walking costs the path preview just traced for that order.
WalkForecast forecastAt(const BattleState& b, int x, int y, const PathCostGrid& costs);

// The soldier the fire lanes are asked for: the selected one, else the first
// living Raider; 0 when there is none.
int fireLanesSoldier(const BattleState& b);

// The squares where that soldier would draw reaction fire, with the watchers.
std::vector<ThreatSquare> fireLanes(const BattleState& b);

} // namespace korvath
