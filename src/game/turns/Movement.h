#pragma once
#include "game/state/Battle.h"
#include "game/turns/Walking.h"

namespace korvath {

// The selected soldier walks towards (tx, ty); with query only the cost is reported.
void walkSelectedPiece(Battle& b, int tx, int ty, bool query);

} // namespace korvath
