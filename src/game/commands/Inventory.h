#pragma once
#include "game/state/Battle.h"

namespace korvath {

// A click on row `row` (0..5) of the equipment grid.
void EquipGridClick(Battle& b, int row);
// Choosing row `row` of the "On the ground" list.
void PickItemsChange(BattleState& b, int row);
void PickUpButtonClick(Battle& b);
void DropItemClick(Battle& b);

} // namespace korvath
