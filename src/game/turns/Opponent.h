#pragma once
#include "game/state/Battle.h"

namespace korvath {

// One computer soldier's turn.
void computerPieceTurn(Battle& b, int piece);
void AdvanceTowards(Battle& b, int piece, int target, bool& moved);
// After the computer's path search: the costs go into the node grid while the
// developer's node grid window shows (the caller repaints).
void dumpNodeGrid(BattleState& b);

} // namespace korvath
