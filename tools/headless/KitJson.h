#pragma once
#include "game/state/BattleState.h"

#include <nlohmann/json.hpp>

namespace korvath {

// "gridplan ROW": what a click on row ROW (0..5) of the equipment grid would
// do now that a row is armed; {"gridplan": null} when no row is armed or no
// soldier's kit is shown.
nlohmann::json gridPlanJson(const BattleState& b, int row);

// "healplan MX MY": what a left click at map pixel (MX, MY) would do with the
// armed kit; {"healplan": null} where the click would treat nobody.
nlohmann::json healPlanJson(const BattleState& b, int mx, int my);

// "kitclick MX MY": what any left click at map pixel (MX, MY) does while a
// grid row is armed, as the status bar tells it on hover; {"kitclick": null}
// when no row is armed or the click is a shot, a blow or a walk.
nlohmann::json kitClickJson(const BattleState& b, int mx, int my);

} // namespace korvath
