#pragma once
#include "Battle.h"

namespace korvath {

// Floods PathCost outward from the start square until the goal has a cost (or
// 250 sweeps ran), then sets the start's cost to 1.
void FillPathCosts(Battle& b, int startX, int startY, int goalX, int goalY);
// The selected soldier walks towards (tx, ty); with query only the cost is reported.
void walkSelectedPiece(Battle& b, int tx, int ty, bool query);

} // namespace korvath
