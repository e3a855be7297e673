#pragma once
#include "Battle.h"

namespace korvath {

// One computer soldier's turn.
void computerPieceTurn(Battle& b, int piece);
void AdvanceTowards(Battle& b, int piece, int target, bool& moved);

} // namespace korvath
