#pragma once
#include "game/state/Battle.h"

namespace korvath {

// A click on row `row` (from 0) of PlaceMenGrid while it is visible picks a
// soldier to place; while it is hidden the click belongs to the equipment grid.
void PlaceMenGridClick(Battle& b, int row);
// Puts the picked soldier on start star (tx, ty); the last placement ends deployment.
void placePickedSoldier(Battle& b, int tx, int ty);

} // namespace korvath
